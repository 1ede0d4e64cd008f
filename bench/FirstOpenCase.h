#ifndef FIRSTOPENCASE_H
#define FIRSTOPENCASE_H

#include "TransformOptions.h"

struct BenchCase;

// The first open of a process as a person meets it: a main window of the
// program's default size with the reading view as its central widget,
// nothing set up but what the window needs, the novel chosen a second after
// the window shows (as through the file dialog) or, at "atonce", as soon as
// it shows (as from the command line), and a mouse wheel turned every 100 ms
// while the text arrives. The text is shown as options make it.
int runFirstOpen(const BenchCase &benchCase, const TransformOptions &options = {});

#endif // FIRSTOPENCASE_H
