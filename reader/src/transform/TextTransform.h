#ifndef TEXTTRANSFORM_H
#define TEXTTRANSFORM_H

#include "PositionMap.h"
#include "TransformOptions.h"

#include <QString>

// The text a view shows for a file's text, with the map between the two.
struct ShownText {
    QString text;
    PositionMap map;
};

// The one entry point for turning a decoded file text into the text the view
// shows, for the loader (which does the same stretch by stretch through a
// TextTransformer), the tests and other tools. Pure; any thread.
class TextTransform
{
public:
    static ShownText apply(const QString &fileText, const TransformOptions &options);
};

#endif // TEXTTRANSFORM_H
