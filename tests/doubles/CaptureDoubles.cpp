// The capture doubles are header-only; compiling them here catches a broken double early.
#include "doubles/CaptureSignalRecorder.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/RecordingClipboard.h"
