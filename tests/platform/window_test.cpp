#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "platform/window.h"

TEST(Window, OpensA33CoreContextOfTheAskedClientSize) {
    ASSERT_TRUE(createWindow("Cadenzio", 1920, 1080));
    int w = 0, h = 0;
    windowClientSize(w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    EXPECT_GE(epoxy_gl_version(), 33);
    presentWindow();
    destroyWindow();
    EXPECT_FALSE(windowExists());
}
