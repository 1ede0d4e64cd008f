// Config.xml, whatever it holds, loads and saves to a stable file.

#include "Config.h"
#include "FuzzSupport.h"

#include <tuple>

namespace
{

auto settings()
{
    return std::tie(Config::uiFont, Config::textFont, Config::textColor, Config::backColor,
                    Config::scrollScreenTime, Config::scrollPageTime, Config::fileList);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // the values before any input, so that each starts from the defaults
    static const auto defaults =
        std::make_tuple(Config::uiFont, Config::textFont, Config::textColor, Config::backColor,
                        Config::scrollScreenTime, Config::scrollPageTime, Config::fileList);
    fuzz::roundTrip<Config>(data, size, [] { settings() = defaults; });
    return 0;
}
