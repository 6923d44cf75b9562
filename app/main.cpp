// vexmora: the program's start. Without a display it says how to run it; otherwise the forms are
// created (app/program_start) and the message loop runs until the main window closes.
#include <cstdio>
#include <cstdlib>

#include "app/program_paths.h"
#include "app/program_signals.h"
#include "app/program_start.h"
#include "platform/framework/forms/application.h"
#include "platform/win/power_api.h"

int main()
{
    WatchTerminationSignals();
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr,
                     "vexmora needs a graphical display: run it on an X11 desktop, or without one as "
                     "`xvfb-run vexmora`\n");
        return 2;
    }
    CreateProgramForms();
    // The one process that may ask the system to power off at the queue's end ("自动关闭计算机").
    vxwin::EnableSystemPowerRequests();
    // A signal taken while the start-up showed a box has already ended the loop.
    if (!Application->Terminated()) Application->Run();
    RemoveScratchFolder();
    return 0;
}
