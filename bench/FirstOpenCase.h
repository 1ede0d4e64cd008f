#ifndef FIRSTOPENCASE_H
#define FIRSTOPENCASE_H

struct BenchCase;

// The first open of a process as a person meets it: a main window of the
// program's default size with the reading view as its central widget,
// nothing set up but what the window needs, and a mouse wheel turned every
// 100 ms while the text arrives.
int runFirstOpen(const BenchCase &benchCase);

#endif // FIRSTOPENCASE_H
