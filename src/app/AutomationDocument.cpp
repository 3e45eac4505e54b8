#include "AutomationDocument.h"

CAutomationDocument::CAutomationDocument(QObject* document) : QDBusAbstractAdaptor(document) {}
