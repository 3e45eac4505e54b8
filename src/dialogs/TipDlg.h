// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QSvgRenderer>

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLayout;
class QPushButton;
class CPrompts;
class CSettings;
class CTipsFile;

// The Tip of the Day: shows one tip at a time from the tips file, goes on
// where the last run stopped and lets the user switch off its showing at
// start-up. Making the dialog reads the first tip; destroying it stores
// where the next one begins, whether or not it was ever shown.
class CTipDlg : public QDialog
{
    Q_OBJECT

public:
    CTipDlg(const std::string& tipsPath, CSettings& settings, CPrompts& prompts,
            QWidget* parent = nullptr);
    ~CTipDlg() override;

    // At start-up: the dialog is made (so the tips move on by one) and is
    // shown only while "Show Tips on StartUp" is set.
    static void RunAtStartup(const std::string& tipsPath, CSettings& settings, CPrompts& prompts,
                             QWidget* parent = nullptr);
    // From the Help menu: shown whatever the start-up setting says.
    static void RunOnDemand(const std::string& tipsPath, CSettings& settings, CPrompts& prompts,
                            QWidget* parent = nullptr);

    bool ShowAtStartup() const { return m_bShowAtStartup; }
    const QString& TipText() const { return m_strTipText; }

public slots:
    // "Close" keeps the state of the check box; Esc and the close box do
    // not.
    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void OnNextTipButton();

private:
    void BuildControls();
    QWidget* BuildTipArea();
    QLayout* BuildButtons();
    QRect PictureRect() const;
    int DialogUnitsX(int units) const;
    int DialogUnitsY(int units) const;

    bool m_bShowAtStartup = true;
    QString m_strTipText;
    CSettings& m_settings;
    std::unique_ptr<CTipsFile> m_pTipsFile;
    QSvgRenderer m_bulb;
    QWidget* m_pPictureArea = nullptr;
    QLabel* m_pTipLabel = nullptr;
    QCheckBox* m_pShowCheck = nullptr;
    QPushButton* m_pNextButton = nullptr;
    QPushButton* m_pCloseButton = nullptr;
};
