#include "app/app_context.h"

AppContext* application = nullptr;
