#pragma once

#include <QDialog>

class QSpinBox;

// Tools > Options...: how many files an add operation converts at once.
// The dialog only shows and edits the count; whoever runs it stores the
// chosen count when the dialog is accepted.
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

private:
    QSpinBox* m_pConversions;
};
