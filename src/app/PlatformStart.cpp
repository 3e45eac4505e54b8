// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlatformStart.h"

#include "platform/MessageTable.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
QtMessageHandler g_previousHandler = nullptr;

// Qt reports a platform it cannot start as a fatal message and would then
// abort with a core dump. Nothing of the program exists yet, so it can end
// here at once.
void OnStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg)
    {
        g_previousHandler(type, context, message);
        return;
    }
    std::string text =
        "zelto-extractor: " + std::string(CMessageTable::Text(EMessageId::OleInitFailed)) +
        "\nzelto-extractor: the window system could not be started: " +
        message.toLocal8Bit().toStdString() + "\n";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(CPlatformStart::kFailureStatus);
}
} // namespace

std::unique_ptr<QApplication> CPlatformStart::Start(int& argc, char** argv)
{
    g_previousHandler = qInstallMessageHandler(OnStartMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    return application;
}
