#include "harness/DesktopTestSession.h"

// The GNOME area: a headless GNOME Shell session instead of the X one.
int main(int argc, char** argv)
{
    return tovrimo::test::RunDesktopTests(argc, argv,
                                          tovrimo::test::DesktopSession::Desktop::Gnome);
}
