#pragma once

#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A stand-in for the stolen-phone register on 127.0.0.1: answers a GET of the form page
// with `formPage` and a GET with a query (the check) with `answer`, and records every
// request's head (request line and headers). `silent` accepts connections and never
// answers; `status` other than 200 answers with that HTTP status.
class FakeRegister final : public QObject
{
public:
    QByteArray formPage = "<form method=\"post\" action=\"./imei.aspx\">\n"
                          "<input type=\"hidden\" name=\"__VIEWSTATE\" id=\"__VIEWSTATE\" "
                          "value=\"/wEPDwUK+MTY=\" />\n"
                          "<input value='/wEW&amp;Ag==' id='__EVENTVALIDATION' type='hidden' "
                          "name='__EVENTVALIDATION'>\n"
                          "<input name=\"ctl00$Application$tbImei\" type=\"text\" /></form>";
    QByteArray answer = "<span>IMEI 35693803564380 </span><span>nebyl nalezen</span>";
    bool silent = false;
    int status = 200;
    QList<QByteArray> requests;

    FakeRegister()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/pcr/imei.aspx").arg(m_server.serverPort());
    }
    // The request line of the n-th request ("GET /pcr/imei.aspx?… HTTP/1.1").
    QByteArray requestLine(int n) const { return requests.value(n).split('\r').value(0); }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        const QByteArray head = pending.left(pending.indexOf("\r\n\r\n"));
        m_pending.remove(socket);
        requests.append(head);
        if (silent)
            return;
        const QByteArray body = head.split(' ').value(1).contains('?') ? answer : formPage;
        socket->write("HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Error")
                      + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
