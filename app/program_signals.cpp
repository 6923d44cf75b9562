// The termination signals as a request to close. See program_signals.h.
#include "app/program_signals.h"

#include <signal.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "app/main_form.h"
#include "platform/base/main_thread.h"
#include "platform/framework/forms/application.h"

void EndProgramOnRequest()
{
    if (Form1 && Application->MainForm() == Form1)
        Form1->Close();
    else
        Application->Terminate();
}

void WatchTerminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    // Blocked everywhere, so a library that installs its own handlers (the preview's SDL does)
    // never sees them: the watcher takes each one from the pending set.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        std::atomic<bool> asked{false};
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0) continue;
            if (asked.exchange(true)) std::_Exit(128 + signal);
            QueueInMainThread([] { EndProgramOnRequest(); });
        }
    }).detach();
}
