// SPDX-License-Identifier: GPL-3.0-or-later
#include "TesseractLanguages.h"

#include "extract/OcrReader.h"

#include <QProcess>

namespace
{
// Tesseract lists its languages in well under a second.
constexpr int kListMilliseconds = 5000;
} // namespace

std::vector<std::string> CTesseractLanguages::Installed()
{
    QProcess tesseract;
    tesseract.setProgram(QString::fromUtf8(COcrReader::kRecognizeTool));
    tesseract.setArguments({QStringLiteral("--list-langs")});
    tesseract.setStandardInputFile(QProcess::nullDevice());
    tesseract.start(QIODevice::ReadOnly);
    if (!tesseract.waitForFinished(kListMilliseconds) || tesseract.exitCode() != 0)
    {
        tesseract.kill();
        tesseract.waitForFinished();
        return {};
    }
    std::vector<std::string> languages;
    // The first line says where the languages lie; one language per line
    // follows.
    const QList<QByteArray> lines = tesseract.readAllStandardOutput().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i)
    {
        QByteArray language = lines[i].trimmed();
        if (!language.isEmpty() && language != "osd")
            languages.push_back(language.toStdString());
    }
    return languages;
}
