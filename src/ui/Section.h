#pragma once
// Base of the window's sections: one group of controls with its requests and reply handlers.

#include "SectionHost.h"

#include <QObject>
#include <QStringList>

#include <cstdint>

class Section : public QObject {
    Q_OBJECT
public:
    explicit Section(SectionHost &host, QObject *parent = nullptr);

    // Runs once at the window's first activation, after the captions are set.
    virtual void activate() {}
    // Asked before the window closes; false when the technician chose to stay (work would be lost).
    virtual bool mayClose() { return true; }

protected:
    DeviceLink &link() { return host_.link(); }
    Device &device() { return host_.device(); }
    LinkView &view() { return host_.view(); }
    SectionHost &host() { return host_; }

    // Read pattern, step 1: refuses with the not-in-service-mode dialog (or, while another device
    // operation runs, with the busy message); true when refused.
    bool refuseOutsideServiceMode();
    // Read pattern, steps 2 and 4: waiting text, then the frame with the reply timer; false when
    // the frame could not be written.
    bool sendRead(uint8_t code, int count = 4);
    // Read pattern, step 2: the waiting text (the device operation sends the frame).
    void beginRead();
    // Write pattern, step 2: writing text and the progress start value.
    void beginWrite(int progress = 16);
    // Write pattern, step 5: progress 0 and the service-mode idle text.
    void endWrite();
    // "Грешка !!! " with the given text.
    void showError(const QString &text);
    // Before a write that sends these texts: when some of their characters cannot be stored in
    // Windows-1251, names them and asks whether to go on (they would arrive as "?"). True when the
    // write may go on.
    bool confirmCodePage(const QStringList &texts);

private:
    SectionHost &host_;
};
