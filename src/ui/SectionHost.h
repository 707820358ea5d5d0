#pragma once
// What a section of the main window may use of the window: the link, the view, shared data.

#include <QString>

class Device;
class DeviceLink;
class LinkView;
class QWidget;

class SectionHost {
public:
    virtual ~SectionHost() = default;
    virtual DeviceLink &link() = 0;
    // The device operations over that link.
    virtual Device &device() = 0;
    virtual LinkView &view() = 0;
    // The factory number read from "fkase.ini" at start-up (may be empty).
    virtual QString factoryNumber() const = 0;
    // The main window, as parent for file dialogs.
    virtual QWidget *window() = 0;
};
