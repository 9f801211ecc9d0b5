#include "harness/DesktopTestSession.h"

// The KDE Plasma area: a headless KWin session instead of the X one.
int main(int argc, char** argv)
{
    return tovrimo::test::RunDesktopTests(argc, argv, tovrimo::test::DesktopSession::Desktop::KWin);
}
