// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutomationDocument.h"

CAutomationDocument::CAutomationDocument(QObject* document) : QDBusAbstractAdaptor(document) {}
