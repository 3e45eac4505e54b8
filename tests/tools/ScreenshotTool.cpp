// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the README's screenshot without a display: the real main window on
// Qt's offscreen platform, with PDFs written here added as a drop of their
// folder, saved with grab(). With --options, the Options dialog instead.
//
//   QT_QPA_PLATFORM=offscreen zelto_screenshot docs/screenshot.png
//   QT_QPA_PLATFORM=offscreen zelto_screenshot --options docs/options.png

#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "dialogs/OptionsDlg.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"
#include "ui/MainFrame.h"
#include "ui/ZeltoView.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QPixmap>

#include <cstdio>
#include <filesystem>

namespace
{
int ShootOptions(const QString& output)
{
    COptionsDlg dialog(2, 64, 2);
    dialog.SetOcr(true, "eng+deu", {"deu", "eng", "fra", "osd"});
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().save(output))
        return 1;
    std::printf("wrote %s\n", output.toLocal8Bit().constData());
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelto"));
    if (argc > 2 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--options"))
        return ShootOptions(QString::fromLocal8Bit(argv[2]));
    QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshot.png");

    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / "zelto-screenshot" / "Documents";
    fs::remove_all(root.parent_path());
    const char* const files[] = {"Invoices/2026-01 Northwind.pdf",
                                 "Invoices/2026-02 Northwind.pdf",
                                 "Invoices/2026-03 Contoso.pdf",
                                 "Reports/Annual report 2025.pdf",
                                 "Reports/Board minutes.pdf",
                                 "Reports/Quarterly review Q3.pdf",
                                 "Manual.pdf"};
    for (const char* file : files)
    {
        fs::path pdf = root / file;
        fs::create_directories(pdf.parent_path());
        CPdfMaker::Write(pdf.string(), {"Zelto Extractor sample page\n" + pdf.stem().string()});
    }

    CScriptedPrompts prompts;
    prompts.AnswerFolderNext(FolderAnswerYesToAll);
    CMemorySettings settings;
    CConverterTable table(std::make_shared<CConverterContext>());
    CZeltoDoc doc(table, prompts, prompts, settings);
    CMainFrame frame(doc, prompts, prompts, settings);
    frame.resize(720, 360);
    frame.show();
    frame.AddDroppedPaths({root.string()});
    frame.View()->selectionModel()->select(frame.View()->model()->index(3, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QApplication::processEvents();

    bool saved = frame.grab().save(output);
    fs::remove_all(root.parent_path());
    if (!saved || doc.RowCount() != static_cast<int>(std::size(files)))
    {
        std::fprintf(stderr, "screenshot not made (%d files listed)\n", doc.RowCount());
        return 1;
    }
    std::printf("wrote %s\n", output.toLocal8Bit().constData());
    return 0;
}
