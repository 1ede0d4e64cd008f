#ifndef OPENREQUEST_H
#define OPENREQUEST_H

#include "TextLoader.h"

#include <QString>

// What a road to a file asks of the one way files are opened (the main
// window's): which file, in which encoding, and where the view goes.
struct OpenRequest {
    QString fileName;
    int codec = TextLoader::AutoDetect; // or a ZkTextDecoder number
    // Where the view goes once the file is on screen, after every step of
    // its opening (so it wins over the place the file was left at); -1:
    // where it was left.
    int position = -1;
    qreal fraction = 1.0 / 3; // of the view's height, where position's line goes
    // Put on top of the recent files; a file chosen from them, or read again
    // in another encoding, keeps its place.
    bool listed = true;
};

#endif // OPENREQUEST_H
