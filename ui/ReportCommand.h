#pragma once
// `prurez --report INPUT OUTPUT.pdf [--decimal SEP]`: the PDF report of an input file
// (the section input or the inverse analysis's input, as the windows save them and
// prurez-batch reads them), written without showing a window.

namespace prurez {

// The arguments after "--report". Returns the exit status: 0 written; 1 the
// computation or the writing failed (its message on standard error); 2 a usage error
// or a malformed INPUT.
int runReportCommand(int argc, char** argv);

}  // namespace prurez
