#ifndef SHELFCASE_H
#define SHELFCASE_H

struct BenchCase;

// The shelf of a reader who has read 500 books: the reading state read
// back, the shelf's rows made, a filter typed, moved books found again and
// the dialog on screen. The novel of the run is not used.
int runShelfBench(const BenchCase &benchCase);

#endif // SHELFCASE_H
