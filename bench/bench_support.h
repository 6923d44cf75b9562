// What the benches share: medians, CPU and resident-memory readings, the numeric command-line
// argument and short test clips made with the ffmpeg command.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>
#include <vector>

// The median of V; -1 for none.
double Median(std::vector<double> V);

// CPU seconds so far by AClock (the calling thread's or the whole process's).
double CpuSeconds(clockid_t AClock = CLOCK_PROCESS_CPUTIME_ID);

// The number after "Name:" in a /proc status file; -1 when the file or the line is missing.
long StatusField(const std::string& APath, const char* AName);

// The resident memory of process APid (by default this one) in kilobytes; -1 when unknown.
long ResidentKb(pid_t APid = 0);

// The positive number after argument i (which then moves past it); 1 when there is none.
int NumberArg(int& i, int argc, char** argv);

// A clip of ASeconds with the test picture of ASize ("320x240") at 25 frames a second and a tone
// of ATone Hz, encoded by AEncoding (codec options for the command) into AName.
bool MakeClip(const std::string& AName, const std::string& ASize, int ASeconds, int ATone,
              const std::vector<std::string>& AEncoding);
