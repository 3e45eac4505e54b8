// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <string>

// A file dialog's one filter entry, read from "Label (*.a *.b)" (patterns
// separated by blanks or semicolons) or from the "Label|*.a;*.b||" form. The
// patterns match letters in either case, so a.pdf and B.PDF both show.
class CNameFilter
{
public:
    explicit CNameFilter(const std::string& filter);

    bool IsEmpty() const { return m_patterns.isEmpty(); }
    const QString& Label() const { return m_strLabel; }
    // The patterns as given.
    const QStringList& Patterns() const { return m_patterns; }
    // The patterns made to match either letter case: "*.pdf" -> "*.[pP][dD][fF]".
    QStringList CaseBlindPatterns() const;
    // The entry for QFileDialog::setNameFilter. The dialog shows only what
    // is left of its last parentheses when told to hide filter details, and
    // that is the label as given.
    QString ForDialog() const;

    static QString CaseBlind(const QString& pattern);

private:
    void ReadBarForm(const QString& filter);
    void ReadParenthesisForm(const QString& filter);
    static QStringList SplitPatterns(const QString& patterns);

    QString m_strLabel;
    QStringList m_patterns;
};
