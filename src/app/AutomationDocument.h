// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>

// The document as automation clients see it: an interface of its own name
// that offers no methods, properties or signals.
class CAutomationDocument : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.orrinval.Zelto.Document")
    // Spelt out: an interface without members would be left out of the
    // generated description, and clients would not see it at all.
    Q_CLASSINFO("D-Bus Introspection", "  <interface name=\"com.orrinval.Zelto.Document\">\n"
                                       "  </interface>\n")

public:
    static constexpr const char* kInterface = "com.orrinval.Zelto.Document";

    // `document` is the object exported for the document; it owns the
    // adaptor.
    explicit CAutomationDocument(QObject* document);
};
