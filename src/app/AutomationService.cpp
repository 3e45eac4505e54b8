// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutomationService.h"

#include "AutomationDocument.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>

namespace
{
QString Latin1(const char* text)
{
    return QString::fromLatin1(text);
}

// What libdbus tells a connection when its bus has gone away.
constexpr const char* kLocalPath = "/org/freedesktop/DBus/Local";
constexpr const char* kLocalInterface = "org.freedesktop.DBus.Local";
constexpr const char* kDisconnected = "Disconnected";
} // namespace

CAutomationService::CAutomationService(QObject* parent)
    : CAutomationService(QDBusConnection::sessionBus(), parent)
{
}

CAutomationService::CAutomationService(const QDBusConnection& connection, QObject* parent)
    : QObject(parent), m_connection(connection)
{
}

CAutomationService::~CAutomationService()
{
    Unregister();
}

bool CAutomationService::Register()
{
#ifdef _WIN32
    // The service lives on a D-Bus session bus, which Windows has none of.
    return Fail(QStringLiteral("automation is not offered on Windows"));
#endif
    if (m_bRegistered)
        return true;
    if (!m_connection.isConnected())
    {
        QString reason = m_connection.lastError().message();
        return Fail(QStringLiteral("no D-Bus session bus could be reached") +
                    (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
    }

    m_pDocument = std::make_unique<QObject>();
    m_pDocument->setObjectName(QStringLiteral("document"));
    new CAutomationDocument(m_pDocument.get());
    if (!m_connection.registerObject(Latin1(kDocumentPath), m_pDocument.get(),
                                     QDBusConnection::ExportAdaptors))
    {
        // The path belongs to someone else; it must not be taken from them
        // on the way out.
        m_pDocument.reset();
        return Fail(
            QStringLiteral("the object %1 could not be exported").arg(Latin1(kDocumentPath)));
    }

    QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_connection.interface()->registerService(Latin1(kServiceName),
                                                  QDBusConnectionInterface::DontQueueService,
                                                  QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Fail(QStringLiteral("the name %1 could not be taken (%2)")
                        .arg(Latin1(kServiceName), reply.error().message()));
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return Fail(QStringLiteral("the name %1 is held by another process already")
                        .arg(Latin1(kServiceName)));

    m_bRegistered = true;
    WatchOwnership();
    return true;
}

bool CAutomationService::Fail(const QString& error)
{
    Unregister();
    m_strError = error;
    return false;
}

void CAutomationService::WatchOwnership()
{
    m_pWatcher = std::make_unique<QDBusServiceWatcher>(Latin1(kServiceName), m_connection,
                                                       QDBusServiceWatcher::WatchForOwnerChange);
    connect(m_pWatcher.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
            &CAutomationService::OnOwnerChanged);
    m_connection.connect(QString(), Latin1(kLocalPath), Latin1(kLocalInterface),
                         Latin1(kDisconnected), this, SLOT(OnBusDisconnected()));
}

void CAutomationService::OnOwnerChanged(const QString& service, const QString&,
                                        const QString& newOwner)
{
    if (m_bRegistered && service == Latin1(kServiceName) && newOwner != m_connection.baseService())
    {
        m_bRegistered = false;
        emit Ended();
    }
}

void CAutomationService::OnBusDisconnected()
{
    if (!m_bRegistered)
        return;
    m_bRegistered = false;
    emit Ended();
}

void CAutomationService::Unregister()
{
    if (m_pWatcher)
    {
        m_pWatcher.reset();
        m_connection.disconnect(QString(), Latin1(kLocalPath), Latin1(kLocalInterface),
                                Latin1(kDisconnected), this, SLOT(OnBusDisconnected()));
    }
    if (m_connection.isConnected())
    {
        if (m_bRegistered)
            m_connection.unregisterService(Latin1(kServiceName));
        if (m_pDocument)
            m_connection.unregisterObject(Latin1(kDocumentPath));
    }
    m_bRegistered = false;
    m_pDocument.reset();
}
