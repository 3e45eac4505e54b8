#pragma once

#include <QDialog>

class CZeltoDoc;
class QSpinBox;

// Tools > Options...: how many files an add operation converts at once.
// The value is stored when the dialog is closed with OK and applies from
// the next add operation on.
class COptionsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit COptionsDlg(CZeltoDoc& doc, QWidget* parent = nullptr);

    QSpinBox* ConversionsBox() const { return m_pConversions; }

    void accept() override;

private:
    CZeltoDoc& m_doc;
    QSpinBox* m_pConversions;
};
