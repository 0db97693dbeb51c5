#include "shell/launcher.h"

#include <cerrno>

#include "platform/process.h"
#include "platform/user_folders.h"

int launchConverter(const std::string& directory, const std::vector<std::string>& arguments,
                    const std::string& workingFolder) {
    ProcessRequest request =
        converterRequest(programIn(directory, "notepress"), arguments, workingFolder);
    request.wait = false;
    return runProcess(request).error;
}

std::string launchErrorMessage(int code) {
    std::string message = "ShellExecute Error " + std::to_string(code);
    if (code == ENOENT) message += ": Could not find notepress";
    return message;
}
