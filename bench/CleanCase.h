#ifndef CLEANCASE_H
#define CLEANCASE_H

struct BenchCase;

// The first open with the text cleaned on its way: at "none" without any
// transform, at "rules" with the shipped rules and fifty of a user's own
// (some matching often, most never, as a user's list of sites goes), at
// "tidy" with the same and tidied paragraphs.
int runClean(const BenchCase &benchCase);

#endif // CLEANCASE_H
