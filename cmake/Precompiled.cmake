# Precompiled headers: most of a source file's compile time here is reading Qt's and GoogleTest's
# headers, so each library reads them once. The lists follow the layers: Qt Core (and Network,
# SerialPort) below the window, Widgets for the window's parts, GoogleTest for the tests. A header
# a list leaves out is still read where it is included.
option(QUORVEL_PCH "Precompile the Qt and GoogleTest headers each library uses" ON)

set(QUORVEL_PCH_CORE
  <QByteArray> <QDateTime> <QFile> <QHash> <QJsonArray> <QJsonDocument> <QJsonObject> <QJsonValue>
  <QList> <QObject> <QPointer> <QRegularExpression> <QString> <QStringList> <QTimer> <QVariant>
  <array> <cstdint> <functional> <memory> <optional> <vector>)
set(QUORVEL_PCH_WIDGETS ${QUORVEL_PCH_CORE}
  <QCheckBox> <QComboBox> <QFileDialog> <QGroupBox> <QHeaderView> <QLabel> <QLineEdit> <QPainter>
  <QPushButton> <QTableView> <QWidget>)
set(QUORVEL_PCH_TESTS ${QUORVEL_PCH_WIDGETS} <QSignalSpy> <QTemporaryDir> <QTest> <gtest/gtest.h>)

# quorvel_precompile(TARGET core|widgets|tests)
function(quorvel_precompile target level)
  if(QUORVEL_PCH)
    string(TOUPPER ${level} level)
    target_precompile_headers(${target} PRIVATE ${QUORVEL_PCH_${level}})
  endif()
endfunction()

# A program reuses the headers of the library it is built on.
function(quorvel_precompile_from target library)
  if(QUORVEL_PCH)
    target_precompile_headers(${target} REUSE_FROM ${library})
  endif()
endfunction()
