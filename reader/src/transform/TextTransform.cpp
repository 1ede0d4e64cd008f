#include "TextTransform.h"

#include "TextTransformer.h"

ShownText TextTransform::apply(const QString &fileText, const TransformOptions &options)
{
    TextTransformer transformer(options);
    TextTransformer::Output output = transformer.transform(fileText, true);
    return {output.text, output.map};
}
