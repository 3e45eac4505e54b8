// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/ConversionOptions.h"
#include "extract/OverwriteQuestion.h"
#include "extract/TextForm.h"

#include <QDialog>

#include <string>
#include <vector>

class CAddOptions;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QLabel;
class QListWidget;
class QRadioButton;
class QSpinBox;

// Tools > Options..., in groups: how many files an add operation converts
// at once, how long each file's conversion may take, the engine and whether
// the text is checked for garbage; the form of the text files; whether the problems met while
// adding many files are told one box each or in one report at the end, and whether pages without
// text are read with OCR and in which languages. The dialog itself only shows and edits the
// choices; Edit stores them when the dialog is accepted.
class COptionsDlg : public QDialog
{
    Q_OBJECT

public:
    // Shows `conversionsAtOnce` in a box that takes 1 to `maxConversionsAtOnce`;
    // its tooltip names `defaultConversionsAtOnce`, the count used when
    // none is stored.
    COptionsDlg(int conversionsAtOnce, int maxConversionsAtOnce, int defaultConversionsAtOnce,
                QWidget* parent = nullptr);

    // Runs the dialog on the stored choices, offering the `installed` OCR
    // languages, and stores the choices when it is accepted.
    static void Edit(CAddOptions& options, const std::vector<std::string>& installed,
                     QWidget* parent);

    QSpinBox* ConversionsBox() const { return m_pConversions; }
    int ConversionsAtOnce() const;

    // Seconds, 0 for no limit, up to `maxSeconds`.
    void SetTimeLimit(int seconds, int maxSeconds);
    int TimeLimit() const;
    QSpinBox* TimeLimitBox() const { return m_pTimeLimit; }

    // Empty puts each text beside its PDF.
    void SetTextFolder(const std::string& folder);
    std::string TextFolder() const;
    QLineEdit* TextFolderEdit() const { return m_pTextFolder; }
    void SetExistingText(EExistingText rule);
    EExistingText ExistingText() const;
    void SetTextForm(const CTextForm& form);
    CTextForm TextForm() const;
    void SetExtractionEngine(CConversionOptions::EEngine engine);
    CConversionOptions::EEngine ExtractionEngine() const;
    void SetGarbledTextCheck(bool check);
    bool GarbledTextCheck() const;

    // One box each (false, the choice shown first) or one report (true).
    void SetProblemsAtEnd(bool atEnd);
    bool ProblemsAtEnd() const;
    QRadioButton* ReportButton() const { return m_pInOneReport; }

    // `languages` in tesseract's form ("eng+deu"); `installed` are the
    // languages offered, to which chosen ones that are not installed are
    // added. Without any installed, OCR cannot be turned on here.
    void SetOcr(bool read, const std::string& languages, const std::vector<std::string>& installed);
    bool ReadScannedPages() const;
    // The ticked languages in tesseract's form; "eng" when none is ticked.
    std::string OcrLanguages() const;
    QCheckBox* OcrBox() const { return m_pReadScanned; }
    QListWidget* LanguageList() const { return m_pLanguages; }

private:
    QGroupBox* ConvertingGroup();
    QGroupBox* TextFilesGroup();
    QGroupBox* ProblemsGroup();
    QGroupBox* ScannedPagesGroup();

    QSpinBox* m_pConversions;
    QSpinBox* m_pTimeLimit;
    void BrowseTextFolder();

    QComboBox* m_pEngine;
    QCheckBox* m_pGarbledCheck;
    QLineEdit* m_pTextFolder;
    QComboBox* m_pExistingText;
    QComboBox* m_pLayout;
    QComboBox* m_pLineEnds;
    QCheckBox* m_pPageBreaks;
    QCheckBox* m_pByteOrderMark;
    QRadioButton* m_pEachInABox;
    QRadioButton* m_pInOneReport;
    QCheckBox* m_pReadScanned;
    QListWidget* m_pLanguages;
    QLabel* m_pOcrHelp;
};
