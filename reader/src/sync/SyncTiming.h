#ifndef SYNCTIMING_H
#define SYNCTIMING_H

// How often and how patiently the reader talks to the sync server. A sync of
// one book costs one request when nothing changed on this machine and three
// when something did (GET, PUT under a temporary name, MOVE), so syncing a
// book being read at most every three minutes keeps it within a request per
// minute; opening, leaving and closing a book sync it at once. Tests scale
// these down to run an evening in seconds.
struct SyncTiming {
    int batchMs = 3 * 60 * 1000;              // between two syncs of a book while it is read
    int firstRetryMs = 30 * 1000;             // after a failure; doubled at each further one
    int longestRetryMs = 30 * 60 * 1000;      // and never longer
    int longestServerWaitMs = 60 * 60 * 1000; // a Retry-After beyond this is cut to it
    int requestDeadlineMs = 20 * 1000;        // each request, whatever the server does
};

// Bounds of what the server may send: a book's record holds its bookmarks,
// a few kilobytes for hundreds of them.
constexpr long long SyncRecordMaxBytes = 1024 * 1024;
constexpr long long SyncListingMaxBytes = 4 * 1024 * 1024;

#endif // SYNCTIMING_H
