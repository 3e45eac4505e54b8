// SPDX-License-Identifier: GPL-3.0-or-later
#include "NameFilter.h"

#include "dialogs/QtText.h"

#include <QRegularExpression>

CNameFilter::CNameFilter(const std::string& filter)
{
    QString text = CQtText::FromText(filter).trimmed();
    if (text.contains(QLatin1Char('|')))
        ReadBarForm(text);
    else
        ReadParenthesisForm(text);
}

void CNameFilter::ReadBarForm(const QString& filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    m_strLabel = parts.value(0).trimmed();
    m_patterns = SplitPatterns(parts.value(1));
}

void CNameFilter::ReadParenthesisForm(const QString& filter)
{
    m_strLabel = filter;
    qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
    {
        // Without parentheses the text is a list of patterns.
        m_patterns = SplitPatterns(filter);
        return;
    }
    m_patterns = SplitPatterns(filter.mid(open + 1, close - open - 1));
}

QStringList CNameFilter::SplitPatterns(const QString& patterns)
{
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    return patterns.split(separators, Qt::SkipEmptyParts);
}

QStringList CNameFilter::CaseBlindPatterns() const
{
    QStringList blind;
    for (const QString& pattern : m_patterns)
        blind << CaseBlind(pattern);
    return blind;
}

QString CNameFilter::ForDialog() const
{
    if (IsEmpty())
        return QString();
    return m_strLabel + QStringLiteral(" (") + CaseBlindPatterns().join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

QString CNameFilter::CaseBlind(const QString& pattern)
{
    QString blind;
    bool inBrackets = false;
    for (QChar ch : pattern)
    {
        if (ch == QLatin1Char('['))
            inBrackets = true;
        else if (ch == QLatin1Char(']'))
            inBrackets = false;
        QChar lower = ch.toLower();
        QChar upper = ch.toUpper();
        if (inBrackets || lower == upper)
        {
            blind += ch;
            continue;
        }
        blind += QLatin1Char('[');
        blind += lower;
        blind += upper;
        blind += QLatin1Char(']');
    }
    return blind;
}
