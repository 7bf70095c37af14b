// One Xvfb for the whole test program, and a Qt event loop for the socket
// notifiers of the X11 adapters.
#include "XTestServer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    hh::test::x11::Xvfb server;
    if (!server.started()) {
        fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    hh::test::x11::installXErrorCounter();
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
