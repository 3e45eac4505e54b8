// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <memory>

class QDBusServiceWatcher;

// The program on the session bus while it runs for automation: the
// well-known name of the program and one object for its document. Only one
// process of a session holds the name; a second one is refused.
class CAutomationService : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kServiceName = "com.orrinval.Zelto";
    static constexpr const char* kDocumentPath = "/Document";

    // On the session bus of this process.
    explicit CAutomationService(QObject* parent = nullptr);
    CAutomationService(const QDBusConnection& connection, QObject* parent = nullptr);
    // Gives the name and the object back.
    ~CAutomationService() override;

    // Exports the document object, then takes the name. False, with
    // ErrorText() saying why and nothing left registered, when there is no
    // bus, the name is held by another process or the bus refuses.
    bool Register();
    bool IsRegistered() const { return m_bRegistered; }
    const QString& ErrorText() const { return m_strError; }

signals:
    // The name is no longer ours, or the bus has gone: there is nothing
    // left to serve.
    void Ended();

private slots:
    void OnOwnerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);
    void OnBusDisconnected();

private:
    bool Fail(const QString& error);
    void WatchOwnership();
    void Unregister();

    QDBusConnection m_connection;
    std::unique_ptr<QObject> m_pDocument;
    std::unique_ptr<QDBusServiceWatcher> m_pWatcher;
    bool m_bRegistered = false;
    QString m_strError;
};
