#pragma once
// Section of the main window for saving the device's fiscal memory to a file.

#include "FmDumpOps.h"
#include "Section.h"

#include <QString>

#include <functional>
#include <memory>

class QPushButton;
class QSaveFile;
class QWidget;

class FmDumpSection : public Section {
    Q_OBJECT
public:
    static constexpr int kBlockSize = FmDumpOps::kBlockSize;
    static constexpr int kBlocks = FmDumpOps::kBlocks;
    static constexpr int kDumpSize = FmDumpOps::kDumpSize;

    FmDumpSection(SectionHost &host, QWidget *page);
    ~FmDumpSection() override;

    void activate() override;

    // Starts a dump (asks for the file first); while a dump runs, the same button stops it.
    void btnFMDumpClick();
    // How the dump file is chosen; by default the save dialog. An empty name means the user gave up.
    void setFileChooser(std::function<QString()> chooser) { chooseFile_ = std::move(chooser); }
    bool running() const { return file_ != nullptr; }

    QPushButton *btnFMDump = nullptr;

private:
    QString askForFile();
    void start(const QString &path);
    // The dump operation's events: each block into the file, the end with its dialog.
    void writeBlock(int block, const QByteArray &data);
    void finished();
    // Ends a dump without keeping anything under the chosen name; shows `message` unless empty.
    void abandon(const QString &title, const QString &message);
    void setIdle();

    std::function<QString()> chooseFile_;
    std::unique_ptr<QSaveFile> file_;
};
