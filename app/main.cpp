// vexmora: the program's start. Without a display it says how to run it; otherwise the forms are
// created (app/program_start) and the message loop runs until the main window closes.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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
        // The built program is not on the PATH: the advice names it by its own path.
        std::error_code error;
        std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
        if (self.empty()) self = "vexmora";
        if (self.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-") !=
                std::string::npos &&
            self.find('\'') == std::string::npos)
            self = "'" + self + "'";
        std::fprintf(stderr,
                     "vexmora needs a graphical display: run it on an X11 desktop, or without one as "
                     "`xvfb-run %s`\n",
                     self.c_str());
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
