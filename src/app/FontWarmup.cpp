#include "FontWarmup.h"

#ifdef QUORVEL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmup::FontWarmup()
{
#ifdef QUORVEL_HAVE_FONTCONFIG
    // The process has one default configuration; whichever thread asks for it first makes it, and
    // Qt's font database then uses it.
    thread_ = std::thread([] { FcInit(); });
#endif
}

FontWarmup::~FontWarmup()
{
    if (thread_.joinable())
        thread_.join();
}
