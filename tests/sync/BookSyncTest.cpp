#include "carddav/BookSync.h"

#include "contacts/BirthdayMarkers.h"
#include "sync/SyncState.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"
#include "tests/sync/DavServer.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <set>

using namespace std::chrono;
Q_DECLARE_METATYPE(DavServer::Kind)

// The sync against the real servers, as the manager runs it: both sides in step, the requests it
// costs, the birthday calendar, a sync cut off at every step, TLS, and servers that misbehave.
class BookSyncTest : public QObject {
    Q_OBJECT

    static constexpr year_month_day kToday = 2026y / December / 8d;

    struct Run {
        carddav::SyncOutcome outcome;
    };

    static carddav::SyncOutcome sync(const std::filesystem::path& dir, const DavServer& server,
                                     year_month_day today = kToday, bool calendar = false)
    {
        contacts::ContactStore store(dir);
        store.load(contacts::ContactStore::WhenMissing::Leave);
        carddav::SyncAccount account{server.base(), server.user(), server.addressBook(),
                                     calendar ? server.calendar() : QUrl()};
        carddav::BookSync::Environment environment{
            dir, [today] { return today; }, [today] { return sys_seconds(sys_days(today)); }};
        carddav::BookSync sync(store, account, server.password(), environment);
        QSignalSpy finished(&sync, &carddav::BookSync::finished);
        sync.start();
        if (!finished.wait(120'000))
            return {};
        return finished.front().front().value<carddav::SyncOutcome>();
    }

    static std::string card(const std::string& uid, const std::string& name,
                            const std::string& bday, const std::string& more = "")
    {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + name + "\r\nBDAY:" + bday +
               "\r\n" + more + "END:VCARD\r\n";
    }

    // The names the book holds, each as often as it stands there.
    static std::multiset<std::string> bookNames(const std::filesystem::path& dir)
    {
        std::multiset<std::string> names;
        contacts::ContactStore store(dir);
        for (const contacts::Contact& contact : store.load().book.contacts)
            names.emplace(contact.name());
        return names;
    }

private slots:
    void initTestCase() { qRegisterMetaType<carddav::SyncOutcome>(); }

    void bothSidesComeInStep_data()
    {
        QTest::addColumn<DavServer::Kind>("kind");
        QTest::newRow("Radicale") << DavServer::Kind::Radicale;
        QTest::newRow("Xandikos") << DavServer::Kind::Xandikos;
    }

    void bothSidesComeInStep()
    {
        QFETCH(DavServer::Kind, kind);
        DavServer server(kind);
        QVERIFY(server.running());
        TempDir dir;
        writeBytes(dir / "data.tvl",
                   fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", "prima"}),
                           recordLine({"Bea", "", "41", "01/01", "", "", "", ""})}));

        // The first sync sends the book, with the birthdays and their alarms.
        const carddav::SyncOutcome first = sync(dir.path(), server, kToday, true);
        QVERIFY2(first.ok, qPrintable(first.error));
        QCOMPARE(first.summary.sent, 2u);
        const auto state = mirror::readState(dir.path());
        QVERIFY(state);
        QCOMPARE(state->pairs.size(), 2u);
        QCOMPARE(state->events.size(), 2u);
        const std::string event = server.get(QString::fromStdString(state->events.front().href));
        QVERIFY(event.find("BEGIN:VALARM") != std::string::npos);
        QVERIFY(event.find("TRIGGER:-PT15H") != std::string::npos);
        QVERIFY(event.find("Mañana cumple") != std::string::npos);

        // Nothing changed since: nothing written, in at most two requests.
        const carddav::SyncOutcome nothing = sync(dir.path(), server, kToday, true);
        QVERIFY2(nothing.ok, qPrintable(nothing.error));
        QCOMPARE(nothing.summary.sent + nothing.summary.received, 0u);
        QVERIFY2(nothing.requests <= 2, qPrintable(QString::number(nothing.requests)));

        // A phone adds Ciro, whose birthday is today, and changes Ana's note; the book gives Bea
        // a telephone.
        const QString book = server.addressBook().path();
        QCOMPARE(server.put(book + "ciro.vcf", card("ciro", "Ciro", "1990-12-08")), 201);
        const QString ana = QString::fromStdString(state->pairs.front().href);
        std::string anaCard = server.get(ana);
        const size_t note = anaCard.find("NOTE:prima");
        QVERIFY(note != std::string::npos);
        anaCard.replace(note, 10, "NOTE:vecina");
        QVERIFY(server.put(ana, anaCard) / 100 == 2);
        writeBytes(dir / "data.tvl",
                   fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", "prima"}),
                           recordLine({"Bea", "", "41", "01/01", "600", "", "", ""})}));
        const carddav::SyncOutcome both = sync(dir.path(), server, kToday, true);
        QVERIFY2(both.ok, qPrintable(both.error));
        QCOMPARE(both.summary.received, 2u);
        QCOMPARE(readBytes(dir / "data.tvl"),
                 fileOf({recordLine({"Bea", "", "41", "01/01", "600", "", "", ""}),
                         recordLine({"Ana", "", "30", "05/03", "", "", "", "vecina"}),
                         recordLine({"Ciro", "", "36", "08/12", "", "", "", ""})}));
        // Ciro's age already counts today's birthday: the reminder must not advance it again.
        QVERIFY(
            contacts::markerFileExists(dir.path(), contacts::birthdayMarker(kToday, "Ciro", "")));
        const auto after = mirror::readState(dir.path());
        const auto bea =
            std::find_if(after->pairs.begin(), after->pairs.end(), [](const auto& pair) {
                return pair.uid != "ciro" && pair.bookLine.starts_with("Bea");
            });
        QVERIFY(bea != after->pairs.end());
        QVERIFY(server.get(QString::fromStdString(bea->href)).find("TEL;TYPE=CELL:600") !=
                std::string::npos);
        QCOMPARE(after->events.size(), 3u);
        QVERIFY(sync(dir.path(), server, kToday, true).summary.sent == 0);
    }

    // A sync killed as it reaches each step, then the next sync: no contact lost or doubled on
    // either side, and both in step.
    void aSyncCutOffAtAnyStepIsFinishedByTheNext_data()
    {
        QTest::addColumn<QString>("step");
        for (const char* step :
             {"list", "fetch", "plan", "write", "written", "book", "calendar", "state"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }

    void aSyncCutOffAtAnyStepIsFinishedByTheNext()
    {
        QFETCH(QString, step);
        DavServer server(DavServer::Kind::Radicale);
        QVERIFY(server.running());
        TempDir dir;
        writeBytes(dir / "data.tvl",
                   fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", ""}),
                           recordLine({"Bea", "", "41", "01/01", "", "", "", ""}),
                           recordLine({"Ciro", "", "", "08/12", "", "", "", ""})}));
        server.seed("ana.vcf", card("ana", "ana", "--03-05", "TEL:600\r\n"));
        server.seed("dora.vcf", card("dora", "Dora", "1980-02-29"));

        QProcess cut;
        cut.start(SYNC_ONCE,
                  {QString::fromStdString(dir.path().string()), server.addressBook().toString(),
                   server.user(), server.password(), "2026-12-08", "--calendar",
                   server.calendar().toString(), "--die-at", step});
        QVERIFY(cut.waitForFinished(120'000));
        QCOMPARE(cut.exitCode(), 3);

        const carddav::SyncOutcome next = sync(dir.path(), server, kToday, true);
        QVERIFY2(next.ok, qPrintable(next.error));
        QCOMPARE(bookNames(dir.path()), (std::multiset<std::string>{"Ana", "Bea", "Ciro", "Dora"}));
        const auto state = mirror::readState(dir.path());
        QCOMPARE(state->pairs.size(), 4u);
        std::set<std::string> hrefs;
        for (const auto& pair : state->pairs)
            hrefs.insert(pair.href);
        QCOMPARE(hrefs.size(), 4u);
        QCOMPARE(state->events.size(), 4u);
        const carddav::SyncOutcome last = sync(dir.path(), server, kToday, true);
        QCOMPARE(last.summary.sent + last.summary.received, 0u);
    }

    // HTTPS with a certificate the system trusts (here a test authority named in SSL_CERT_FILE),
    // and a refusal with the reason when the certificate is not trusted.
    void aCertificateNotTrustedRefusesTheSync()
    {
        DavServer server(DavServer::Kind::Radicale, true);
        QVERIFY(server.running());
        TempDir dir;
        const std::string book = fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", ""})});
        writeBytes(dir / "data.tvl", book);
        const carddav::SyncOutcome untrusted = sync(dir.path(), server);
        QVERIFY(!untrusted.ok);
        QVERIFY2(untrusted.error.contains("certificado"), qPrintable(untrusted.error));
        QCOMPARE(readBytes(dir / "data.tvl"), book);

        QProcess trusted;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("SSL_CERT_FILE", QString::fromStdString(server.authority().string()));
        trusted.setProcessEnvironment(environment);
        trusted.start(SYNC_ONCE,
                      {QString::fromStdString(dir.path().string()), server.addressBook().toString(),
                       server.user(), server.password(), "2026-12-08"});
        QVERIFY(trusted.waitForFinished(120'000));
        QVERIFY2(trusted.exitCode() == 0, trusted.readAllStandardOutput().constData());
    }

    void aHostileServerEndsTheSyncAndChangesNothing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("says");
        QTest::newRow("an answer over 32 MB") << "huge"
                                              << "32 MB";
        QTest::newRow("a billion laughs") << "laughs"
                                          << "no se entiende";
        QTest::newRow("an answer that never ends") << "endless"
                                                   << "no ha respondido";
        QTest::newRow("errors 500") << "error"
                                    << "500";
        QTest::newRow("ETags that never match") << "etags"
                                                << "cambió mientras";
        QTest::newRow("a password refused") << "refused"
                                            << "contraseña";
    }

    void aHostileServerEndsTheSyncAndChangesNothing()
    {
        QFETCH(QString, mode);
        QFETCH(QString, says);
        QProcess hostile;
        hostile.start("/usr/bin/python3", {HOSTILE_SERVER, mode});
        QVERIFY(hostile.waitForReadyRead(10'000));
        const int port = hostile.readLine().trimmed().toInt();
        QVERIFY(port > 0);
        TempDir dir;
        const std::string book = fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", ""})});
        writeBytes(dir / "data.tvl", book);
        QProcess run;
        run.start(SYNC_ONCE, {QString::fromStdString(dir.path().string()),
                              QStringLiteral("http://127.0.0.1:%1/ana/libreta/").arg(port), "ana",
                              "secreto", "2026-12-08", "--timeout-ms", "2000"});
        QVERIFY(run.waitForFinished(120'000));
        const QString output = QString::fromUtf8(run.readAllStandardOutput());
        hostile.kill();
        hostile.waitForFinished();
        QCOMPARE(run.exitCode(), 1);
        QVERIFY2(output.contains(says), qPrintable(output));
        QCOMPARE(readBytes(dir / "data.tvl"), book);
        QVERIFY(!std::filesystem::exists(dir / "data.tvl.sync"));
    }
};

QTEST_GUILESS_MAIN(BookSyncTest)
#include "BookSyncTest.moc"
