#pragma once
// velhost's job commands: the status of submitted report jobs and their outputs, read from
// the application server.
//
//   velhost jobs [--server ADDRESS:PORT | --address A --port P | --local] [--user U]
//       one line per job, oldest first: reference, status, program, user, mode, submitted,
//       run at (timed jobs), finished, then the error of a failed job; without --user every
//       user's jobs
//   velhost report REF [--format csv|html] [--wait] [connection as for jobs]
//       prints a done job's output (csv by default); --wait polls until the job is done or
//       has failed
//
// Connection: as velhost run makes it: --server ADDRESS:PORT (127.0.0.1 is local mode), or
// --local, or the installed client (local mode when none is installed). --address and
// --port (default 211) always mean TCP, even to 127.0.0.1.
//
// Exit codes: 0 success; 1 the server cannot be reached, refuses, the job is unknown or has
// failed; 2 usage; 3 (report without --wait) the job has not finished yet.
//
// argv[0] is the command word ("jobs", "report") and the options follow, so velhost's main
// passes argc - 1 and argv + 1. Output goes to std::cout, errors to std::cerr, in UTF-8.

namespace velhost {

int RunJobsCommand(int argc, char** argv);
int RunReportCommand(int argc, char** argv);

}  // namespace velhost
