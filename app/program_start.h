// The program's start before its message loop: the application's title and help file, and the
// forms created in their fixed order (the main window first, so it is the main form). Shared by
// the program's main and by the start-up benchmark, so both time the same start.
#pragma once

void CreateProgramForms();
// What the forms take from one another once they all exist: the per-file dialog's category
// pictures and job-list focus, the legacy form's output folder and overwrite choice.
void ConnectProgramForms();
