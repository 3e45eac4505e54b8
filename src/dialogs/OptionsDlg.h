#pragma once

#include <QDialog>

class QRadioButton;
class QSpinBox;

// Tools > Options...: how many files an add operation converts at once, and
// whether the problems met while adding many files are told one box each or
// in one report at the end. The dialog only shows and edits the choices;
// whoever runs it stores them when the dialog is accepted.
class COptionsDlg : public QDialog
{
    Q_OBJECT

public:
    // Shows `conversionsAtOnce` in a box that takes 1 to `maxConversionsAtOnce`;
    // the help text names `defaultConversionsAtOnce`, the count used when
    // none is stored.
    COptionsDlg(int conversionsAtOnce, int maxConversionsAtOnce, int defaultConversionsAtOnce,
                QWidget* parent = nullptr);

    QSpinBox* ConversionsBox() const { return m_pConversions; }
    int ConversionsAtOnce() const;

    // One box each (false, the choice shown first) or one report (true).
    void SetProblemsAtEnd(bool atEnd);
    bool ProblemsAtEnd() const;
    QRadioButton* ReportButton() const { return m_pInOneReport; }

private:
    QSpinBox* m_pConversions;
    QRadioButton* m_pEachInABox;
    QRadioButton* m_pInOneReport;
};
