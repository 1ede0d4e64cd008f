#ifndef SEARCHBENCH_H
#define SEARCHBENCH_H

struct BenchCase;

// The search case: every match listed from the 搜索 page, and find next.
int runSearchBench(const BenchCase &benchCase);

#endif // SEARCHBENCH_H
