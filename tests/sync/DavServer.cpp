#include "tests/sync/DavServer.h"

#include "tests/support/FileText.h"

#include <QProcess>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60'000) && process.exitCode() == 0;
}

} // namespace

DavServer::DavServer(Kind kind, bool tls) : m_kind(kind), m_tls(tls)
{
    m_port = freePort();
    const std::filesystem::path storage = m_dir / "storage";
    std::vector<std::string> command;
    if (kind == Kind::Radicale) {
        const std::filesystem::path root = storage / "collection-root" / "ana";
        std::filesystem::create_directories(root / "libreta");
        std::filesystem::create_directories(root / "cumples");
        writeBytes(root / "libreta" / ".Radicale.props",
                   R"({"D:displayname": "Libreta", "tag": "VADDRESSBOOK"})");
        writeBytes(root / "cumples" / ".Radicale.props",
                   R"({"D:displayname": "Cumpleaños", "tag": "VCALENDAR", )"
                   R"("C:supported-calendar-component-set": "VEVENT"})");
        writeBytes(m_dir / "users", "ana:secreto\n");
        std::string serverKeys = "hosts = 127.0.0.1:" + std::to_string(m_port) + "\n";
        if (tls) {
            const std::string dir = m_dir.path().string();
            const auto at = [&](const char* name) { return QString::fromStdString(dir + name); };
            run("openssl",
                {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                 "/CN=Autoridad de pruebas", "-keyout", at("/ca.key"), "-out", at("/ca.pem")});
            run("openssl", {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                            "-keyout", at("/server.key"), "-out", at("/server.csr")});
            writeBytes(m_dir / "san.cnf", "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
            run("openssl", {"x509", "-req", "-in", at("/server.csr"), "-CA", at("/ca.pem"),
                            "-CAkey", at("/ca.key"), "-CAcreateserial", "-days", "2", "-extfile",
                            at("/san.cnf"), "-out", at("/server.pem")});
            serverKeys +=
                "ssl = True\ncertificate = " + dir + "/server.pem\nkey = " + dir + "/server.key\n";
        }
        const std::string config =
            "[server]\n" + serverKeys +
            "[auth]\ntype = htpasswd\nhtpasswd_filename = " + (m_dir / "users").string() +
            "\nhtpasswd_encryption = plain\n[storage]\nfilesystem_folder = " + storage.string() +
            "\n[logging]\nlevel = warning\n";
        writeBytes(m_dir / "config", config);
        command = {"/usr/bin/radicale", "--config", (m_dir / "config").string()};
    } else {
        std::filesystem::create_directories(storage);
        command = {"/usr/bin/xandikos", "-d", storage.string(),      "--defaults", "-l",
                   "127.0.0.1",         "-p", std::to_string(m_port)};
    }
    const std::string log = (m_dir / "server.log").string();
    m_pid = ::fork();
    if (m_pid == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(out, 2);
        std::vector<char*> argv;
        for (std::string& part : command)
            argv.push_back(part.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    for (int i = 0; i < 200 && !answers(m_port); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!answers(m_port)) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

DavServer::~DavServer()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

QUrl DavServer::base() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(m_port));
}

QUrl DavServer::addressBook() const
{
    return base().resolved(
        QUrl(m_kind == Kind::Radicale ? "/ana/libreta/" : "/user/contacts/addressbook/"));
}

QUrl DavServer::calendar() const
{
    return base().resolved(
        QUrl(m_kind == Kind::Radicale ? "/ana/cumples/" : "/user/calendars/calendar/"));
}

void DavServer::seed(const std::string& name, const std::string& vcard)
{
    writeBytes(m_dir / "storage" / "collection-root" / "ana" / "libreta" / name, vcard);
}

int DavServer::curl(const QStringList& arguments, std::string* body)
{
    QProcess process;
    QStringList all = {"-s", "-o", "-", "-w", "\n%{http_code}", "-u", "ana:secreto"};
    if (m_tls)
        all << "--cacert" << QString::fromStdString(authority().string());
    process.start("curl", all + arguments);
    if (!process.waitForFinished(60'000))
        return 0;
    QByteArray output = process.readAllStandardOutput();
    const qsizetype lastLine = output.lastIndexOf('\n');
    const int status = output.mid(lastLine + 1).toInt();
    if (body)
        *body = output.left(lastLine).toStdString();
    return status;
}

int DavServer::put(const QString& href, const std::string& text, const QString& type)
{
    const std::filesystem::path file = m_dir / "put.txt";
    writeBytes(file, text);
    return curl({"-X", "PUT", "-H", "Content-Type: " + type, "--data-binary",
                 "@" + QString::fromStdString(file.string()),
                 base().resolved(QUrl(href)).toString()});
}

std::string DavServer::get(const QString& href)
{
    std::string body;
    curl({base().resolved(QUrl(href)).toString()}, &body);
    return body;
}

int DavServer::remove(const QString& href)
{
    return curl({"-X", "DELETE", base().resolved(QUrl(href)).toString()});
}
