#include "DeviceLink.h"

#include "Cp1251.h"
#include "DeviceErrors.h"
#include "LinkView.h"
#include "ToolText.h"
#include "Transport.h"
#include "UiText.h"

namespace {
const QStringList kReadsOnService = {"btnRead",       "btnCompanyRead", "btnLogoRead", "btnReadDateTime",
                                     "btnReadCliche", "btnARead",       "btnTGRead",   "btnSTRead",
                                     "btnORead",      "btnIPRead",      "btnPRead"};
const QStringList kWritesOffOnService = {"btnWrite",       "btnCompanyWrite", "btnLogoWrite", "btnWriteDateTime",
                                         "btnWriteCliche", "btnTGWrite",      "btnSTWrite",   "btnOWrite",
                                         "btnIPWrite",     "btnPWrite"};
const QStringList kAllOffOutOfService = {
    "btnRead",         "btnWrite",         "btnCompanyRead", "btnCompanyWrite", "btnLogoRead", "btnLogoWrite",
    "btnReadDateTime", "btnWriteDateTime", "btnReadCliche",  "btnWriteCliche",  "btnTGRead",   "btnSTRead",
    "btnARead",        "btnORead",         "btnTGWrite",     "btnSTWrite",      "btnAWrite",   "btnOWrite",
    "btnIPWrite",      "btnPWrite",        "btnIPRead",      "btnPRead"};

constexpr uint8_t kStartShort = 0x5F;
constexpr uint8_t kStartLong = 0xAA;
constexpr uint8_t kCr = 0x0D;

const QStringList kDeviceOperationControls = {
    "btnRead",         "btnWrite",         "btnCompanyRead", "btnCompanyWrite", "btnLogoRead", "btnLogoWrite",
    "btnReadDateTime", "btnWriteDateTime", "btnReadCliche",  "btnWriteCliche",  "btnTGRead",   "btnTGWrite",
    "btnSTRead",       "btnSTWrite",       "btnARead",       "btnAWrite",       "btnORead",    "btnOWrite",
    "btnIPRead",       "btnIPWrite",       "btnPRead",       "btnPWrite",       "BtnSat",      "BtnTest",
    "BtnPrijava",      "btnFMDump",        "btnCom1",        "btnCOM"};

// The request codes a chain sends; while it runs, every other request is refused.
bool chainSends(DeviceLink::Chain chain, uint8_t code)
{
    using C = DeviceLink::Chain;
    switch (chain) {
    case C::ArticlesRead:
        return code == 0x80;
    case C::ArticlesWrite:
        return code == 0x85;
    case C::CashiersRead:
        return code == 0x90;
    case C::CashiersWrite:
        return code == 0x95;
    case C::LogoRead:
        return (code & 0xF0) == 0xE0 || code == 0x55;
    case C::LogoWrite:
        return (code & 0xF0) == 0xD0 || code == 0x50;
    case C::MemoryDump:
        return code == 0xC0;
    case C::None:
        break;
    }
    return true;
}

QString chainName(DeviceLink::Chain chain)
{
    using C = DeviceLink::Chain;
    switch (chain) {
    case C::ArticlesRead:
        return ToolText::articlesReadName();
    case C::ArticlesWrite:
        return ToolText::articlesWriteName();
    case C::CashiersRead:
        return ToolText::cashiersReadName();
    case C::CashiersWrite:
        return ToolText::cashiersWriteName();
    case C::LogoRead:
        return ToolText::logoReadName();
    case C::LogoWrite:
        return ToolText::logoWriteName();
    case C::MemoryDump:
        return ToolText::memoryDumpName();
    case C::None:
        break;
    }
    return {};
}
} // namespace

DeviceLink::DeviceLink(LinkView &view, QObject *parent) : QObject(parent), view_(view)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kReplyTimeoutMs);
    connect(&timer_, &QTimer::timeout, this, &DeviceLink::TimerTimer);
    onReply(0x00, [this] { handleServiceModeOn(); });
    onReply(0x10, [this] { handleServiceModeOff(); });
    onReply(0xFD, [this] { handleNotZeroed(); });
    onReply(0xF5, [this] { handleErrorReply(); });
}

DeviceLink::~DeviceLink() = default;

void DeviceLink::putTx(int pos, const QByteArray &bytes, int maxLength)
{
    const int n = std::min<qsizetype>(bytes.size(), maxLength);
    for (int i = 0; i < n && pos + i <= kBufferSize; ++i)
        tx_[size_t(pos + i)] = uint8_t(bytes.at(i));
}

void DeviceLink::clearRx()
{
    discardCollected(Discard::Dropped);
    flushDiscarded();
    rxCount_ = 0;
    rx_.fill(0);
}

void DeviceLink::discardCollected(Discard why)
{
    if (rxCount_ < 1)
        return;
    if (!discarded_.isEmpty() && why != discardedWhy_)
        flushDiscarded();
    discardedWhy_ = why;
    discarded_.append(reinterpret_cast<const char *>(&rx_[1]), std::min(rxCount_, kBufferSize));
    // A long run of garbage is reported in pieces of about one frame's size.
    if (discarded_.size() >= kBufferSize)
        flushDiscarded();
}

void DeviceLink::flushDiscarded()
{
    if (discarded_.isEmpty())
        return;
    const QByteArray bytes = discarded_;
    discarded_.clear();
    emit bytesDiscarded(bytes, discardedWhy_);
}

QString DeviceLink::noAnswerMessage() const
{
    const QString text = UiText(Txt::NoAnswer);
    if (lastSent_.isEmpty())
        return text;
    // The first bytes say which request it was; the rest of a long record adds nothing here.
    constexpr int kShown = 12;
    QString hex = QString::fromLatin1(lastSent_.left(kShown).toHex(' '));
    if (lastSent_.size() > kShown)
        hex += QStringLiteral(" …");
    const QString name = frameNamer_ ? frameNamer_(lastSent_, true) : QString();
    const QString where = transport_ ? transport_->where() : QString();
    return text + QLatin1Char('\n') + ToolText::noAnswerDetail(hex, name, where);
}

void DeviceLink::resetState()
{
    serialTransport_ = false;
    disconnectAfterExit_ = false;
    serviceMode_ = true;
    replyPending_ = false;
    cancel_ = false;
    timer_.stop();
    clearRx();
    incoming_.clear();
    closePending_ = false;
}

void DeviceLink::setTransport(Transport *transport)
{
    if (transport_)
        disconnect(transport_, nullptr, this, nullptr);
    transport_ = transport;
    if (transport_) {
        connect(transport_, &Transport::received, this, &DeviceLink::onTransportBytes);
        connect(transport_, &Transport::closed, this, &DeviceLink::onTransportClosed);
    }
}

void DeviceLink::onTransportClosed()
{
    closePending_ = true;
    processIncoming();
}

void DeviceLink::actOnClosed()
{
    timer_.stop();
    replyPending_ = false;
    cancel_ = false;
    clearRx();
    // A disconnect was asked for and the connection is gone: that is what the user wanted.
    const bool asked = disconnectAfterExit_;
    disconnectAfterExit_ = false;
    view_.setCancelButtonVisible(false);
    view_.setProgress(0);
    view_.setStatusText(ToolText::ConnectionLost());
    view_.connectionClosed();
    emit connectionLost();
    // A running chain ends here; its message says where the transfer stood.
    QString text = ToolText::ConnectionLost();
    if (const QString where = transport_ ? transport_->where() : QString(); !where.isEmpty())
        text += QLatin1Char('\n') + ToolText::connectionLostDetail(where);
    if (asked)
        endChain(ChainEnd::ConnectionLost);
    else
        endChainWithMessage(ChainEnd::ConnectionLost, text);
}

void DeviceLink::onTransportBytes(const QByteArray &bytes)
{
    receiveBytes(bytes, transport_ ? transport_->recogniseEachByte() : true);
}

bool DeviceLink::WriteBytes(const QByteArray &bytes)
{
    // Ready frames (login, self-tests) belong to no chain.
    if (refuseWhileBusy())
        return false;
    return writeOut(bytes);
}

bool DeviceLink::writeOut(const QByteArray &bytes)
{
    QString error;
    if (!transport_)
        error = ToolText::ConnectionNotOpen();
    else if (!transport_->isOpen() || !transport_->write(bytes))
        error = transport_->errorString();
    if (error.isNull()) {
        lastSent_ = bytes;
        flushDiscarded();
        emit frameSent(bytes);
        return true;
    }
    if (error.isEmpty())
        error = ToolText::ConnectionNotOpen();
    showDialog(UiText(Txt::TitleError), error);
    return false;
}

bool DeviceLink::SendFrame(uint8_t code, int count)
{
    if (busy() && !chainSends(chain_, code)) {
        refuseWhileBusy();
        return false;
    }
    count = std::clamp(count, 4, kBufferSize);
    tx_[1] = kStartShort;
    tx_[2] = code;
    tx_[3] = count == kBufferSize ? 255 : uint8_t(count - 4);
    tx_[size_t(count)] = kCr;
    return writeOut(QByteArray(reinterpret_cast<const char *>(&tx_[1]), count));
}

bool DeviceLink::SendAwaitingReply(uint8_t code, int count)
{
    if (!SendFrame(code, count))
        return false;
    replyPending_ = true;
    timer_.start();
    return true;
}

void DeviceLink::appendByte(uint8_t b)
{
    // A frame that cannot complete within the buffer is dropped and collection starts over.
    if (rxCount_ >= kBufferSize) {
        discardCollected(Discard::TooLong);
        rxCount_ = 0;
    }
    rx_[size_t(++rxCount_)] = b;
}

void DeviceLink::receiveBytes(const QByteArray &bytes, bool eachByte)
{
    if (bytes.isEmpty())
        return;
    // The device answered: the no-answer warning no longer applies, even when the bytes have to
    // wait for a handler's dialog before they are recognised.
    replyPending_ = false;
    timer_.stop();
    incoming_.append({bytes, eachByte});
    processIncoming();
}

void DeviceLink::processIncoming()
{
    if (receiving_ || dispatchDepth_ > 0)
        return;
    receiving_ = true;
    while (!incoming_.isEmpty()) {
        const Incoming in = incoming_.takeFirst();
        recognise(in.bytes, in.eachByte);
    }
    receiving_ = false;
    if (closePending_ && dispatchDepth_ == 0) {
        closePending_ = false;
        actOnClosed();
    }
}

void DeviceLink::recognise(const QByteArray &bytes, bool eachByte)
{
    // The reply-pending flag and the timer were cleared when these bytes arrived (receiveBytes);
    // clearing them again here would cancel the timer of a request a handler has just sent.
    if (eachByte) {
        for (char c : bytes) {
            appendByte(uint8_t(c));
            HandleReceived();
        }
    } else {
        for (char c : bytes)
            appendByte(uint8_t(c));
        HandleReceived();
    }
    flushDiscarded();
}

bool DeviceLink::tryLongReply(uint8_t command)
{
    if (rxCount_ < 1 || rx_[1] != kStartLong || rx_[8] != command || rx_[size_t(rxCount_)] != kCr ||
        rxCount_ != rx_[9] + 12)
        return false;
    flushDiscarded();
    emit frameRecognised(QByteArray(reinterpret_cast<const char *>(&rx_[1]), rxCount_));
    rxCount_ = 0;
    ++dispatchDepth_;
    view_.setProgress(16);
    const uint8_t result = rx_[10];
    if (result == 0) {
        const QString text = QStringLiteral("Грешка! ") + DescribeDeviceError(rx_[12], rx_[13], rx_[14], rx_[15]);
        emit deviceErrorReply(text);
        endChainWithMessage(ChainEnd::DeviceError, text);
    }
    view_.setProgress(0);
    rx_.fill(0);
    --dispatchDepth_;
    emit longReplyRecognised(command, result);
    processIncoming();
    return true;
}

void DeviceLink::HandleReceived()
{
    if (cancel_) {
        cancel_ = false;
        discardCollected(Discard::Cancelled);
        rxCount_ = 0;
    }
    if (rx_[1] != kStartShort && rx_[1] != kStartLong) {
        discardCollected(Discard::NoStartByte);
        rxCount_ = 0;
    }
    if (rxCount_ < 1)
        return;
    if (tryLongReply(0x20) || tryLongReply(0x24))
        return;
    const int l = rx_[3];
    if ((rxCount_ == l + 4 || rxCount_ == l + 5) && rx_[size_t(rxCount_)] == kCr) {
        flushDiscarded();
        emit frameRecognised(QByteArray(reinterpret_cast<const char *>(&rx_[1]), rxCount_));
        rxCount_ = 0;
        const uint8_t code = rx_[2];
        dispatch(code);
        if (rxCount_ > 5) {
            discardCollected(Discard::Dropped);
            rxCount_ = 0;
        }
        rx_.fill(0);
        emit replyDispatched(code);
        processIncoming();
    }
}

void DeviceLink::dispatch(uint8_t code)
{
    ++dispatchDepth_;
    const uint8_t hi = code & 0xF0;
    if (hi == 0xE0) {
        if (logoRead_)
            logoRead_(code & 0x0F);
    } else if (hi == 0xD0) {
        if (logoWrite_)
            logoWrite_(code & 0x0F);
    } else if (handlers_[code]) {
        handlers_[code]();
    }
    --dispatchDepth_;
}

void DeviceLink::onReply(uint8_t code, Handler handler)
{
    handlers_[code] = std::move(handler);
}

void DeviceLink::onBlockReply(uint8_t highNibble, BlockHandler handler)
{
    if ((highNibble & 0xF0) == 0xE0)
        logoRead_ = std::move(handler);
    else if ((highNibble & 0xF0) == 0xD0)
        logoWrite_ = std::move(handler);
}

void DeviceLink::TimerTimer()
{
    timer_.stop();
    if (!replyPending_)
        return;
    replyPending_ = false;
    cancel_ = false;
    // A disconnect that waited for the leave-service-mode reply closes after the notice anyway;
    // otherwise a silent device would keep the connection open for good.
    const bool closeAfter = disconnectAfterExit_;
    disconnectAfterExit_ = false;
    view_.setCancelButtonVisible(false);
    endChainWithMessage(ChainEnd::NoAnswer, noAnswerMessage());
    emit noAnswer();
    if (closeAfter)
        closeAfterLeave();
}

void DeviceLink::closeAfterLeave()
{
    if (transport_ && !serialTransport_)
        transport_->close();
    view_.tcpClosedByLink();
}

void DeviceLink::BtnOtkazClick()
{
    timer_.stop();
    replyPending_ = false;
    cancel_ = true;
    view_.setCancelButtonVisible(false);
    endChain(ChainEnd::Cancelled);
}

void DeviceLink::abandonChain()
{
    if (!busy())
        return;
    timer_.stop();
    replyPending_ = false;
    cancel_ = true;
    view_.setCancelButtonVisible(false);
    endChain(ChainEnd::Abandoned);
}

int DeviceLink::showDialog(const QString &title, const QString &text)
{
    ++dispatchDepth_;
    const int result = view_.showDialog(title, text);
    --dispatchDepth_;
    processIncoming();
    return result;
}

bool DeviceLink::hasModelIdentifier() const
{
    return rx_[4] == 0x04 && rx_[5] == 0x01;
}

void DeviceLink::handleServiceModeOn()
{
    view_.setProgress(16);
    view_.setStatusText(UiText(Txt::InServiceMode));
    serviceMode_ = true;
    setControlsEnabled(kReadsOnService, true);
    setControlsEnabled(kWritesOffOnService, false);
    view_.setProgress(0);
}

void DeviceLink::handleServiceModeOff()
{
    view_.setProgress(16);
    view_.setStatusText(UiText(Txt::NotInServiceMode));
    serviceMode_ = false;
    setControlsEnabled(kAllOffOutOfService, false);
    view_.setProgress(0);
    // No chain goes on outside service mode.
    endChain(ChainEnd::Stopped);
    if (disconnectAfterExit_) {
        disconnectAfterExit_ = false;
        closeAfterLeave();
    }
}

void DeviceLink::handleNotZeroed()
{
    view_.setProgress(16);
    if (hasModelIdentifier()) {
        showDialog(UiText(Txt::TitleError), UiText(Txt::NotZeroed));
        view_.setStatusText(UiText(Txt::InServiceMode));
        serviceMode_ = true;
        setControlsEnabled({"btnReadDateTime"}, true);
        setControlsEnabled({"btnWriteDateTime"}, false);
    } else {
        showDialog(UiText(Txt::TitleError), UiText(Txt::WrongModel));
    }
    view_.setProgress(0);
}

void DeviceLink::handleErrorReply()
{
    view_.setProgress(16);
    const QString text = hasModelIdentifier() ? DeviceErrorCodeText(rx_[6]) : UiText(Txt::WrongModel);
    // An error reply carries no next number, so it ends a running chain.
    emit deviceErrorReply(text);
    endChainWithMessage(ChainEnd::DeviceError, text);
    view_.setProgress(0);
}

const QStringList &DeviceLink::deviceOperationControls()
{
    return kDeviceOperationControls;
}

bool DeviceLink::beginChain(Chain chain, ChainDescriber describe, const QStringList &keepEnabled)
{
    if (refuseWhileBusy())
        return false;
    if (chain == Chain::None)
        return true;
    chain_ = chain;
    describeChain_ = std::move(describe);
    heldControls_.clear();
    QStringList held;
    for (const QString &name : kDeviceOperationControls) {
        if (keepEnabled.contains(name))
            continue;
        heldControls_.insert(name, view_.controlEnabled(name));
        held << name;
    }
    view_.setControlsEnabled(held, false);
    return true;
}

void DeviceLink::endChain(ChainEnd how)
{
    if (!busy())
        return;
    const Chain ended = chain_;
    chain_ = Chain::None;
    describeChain_ = nullptr;
    QStringList back;
    for (const QString &name : kDeviceOperationControls)
        if (heldControls_.value(name, false))
            back << name;
    heldControls_.clear();
    view_.setControlsEnabled(back, true);
    emit chainEnded(ended, how);
}

void DeviceLink::endChain(Chain chain, ChainEnd how)
{
    if (chain_ == chain)
        endChain(how);
}

void DeviceLink::endChainWithMessage(ChainEnd how, const QString &text)
{
    QString full = text;
    if (busy() && describeChain_) {
        const QString where = describeChain_(how);
        if (!where.isEmpty())
            full += QLatin1Char('\n') + where;
    }
    endChain(how);
    showDialog(UiText(Txt::TitleError), full);
}

bool DeviceLink::refuseWhileBusy()
{
    if (!busy())
        return false;
    showDialog(UiText(Txt::TitleWarning), ToolText::deviceBusy(chainName(chain_)));
    return true;
}

void DeviceLink::setControlsEnabled(const QStringList &objectNames, bool enabled)
{
    QStringList now;
    for (const QString &name : objectNames) {
        if (auto it = heldControls_.find(name); it != heldControls_.end())
            it.value() = enabled;
        else
            now << name;
    }
    if (!now.isEmpty())
        view_.setControlsEnabled(now, enabled);
}
