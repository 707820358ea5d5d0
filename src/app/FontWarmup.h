#pragma once
// Loads the system's font configuration on another core while the application starts.
//
// The window's first text needs the font configuration: on Linux, fontconfig reads its files and
// caches, several milliseconds of a start that takes a few dozen. Begun before the QApplication is
// made, that work runs beside the connection to the display and the building of the window, and
// the first text finds it done. Where the system has no such configuration, nothing happens.

#include <thread>

class FontWarmup {
public:
    FontWarmup();
    // Waits for the work if it still runs.
    ~FontWarmup();
    FontWarmup(const FontWarmup &) = delete;
    FontWarmup &operator=(const FontWarmup &) = delete;

private:
    std::thread thread_;
};
