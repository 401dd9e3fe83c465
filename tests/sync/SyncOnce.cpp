// One sync of a book with an address book, as the manager runs it, in a process of its own: the
// kill tests stop it at a step, the benchmark times it.
//   sync_once PROGRAM-DIR ADDRESS-BOOK-URL USER PASSWORD YYYY-MM-DD
//             [--calendar URL] [--die-at STEP] [--timeout-ms N]
// Prints "ok REQUESTS RECEIVED SENT" or "error MESSAGE" and exits 0 or 1.
#include "carddav/BookSync.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 6)
        return 2;
    const std::filesystem::path programDir = argv[1];
    carddav::SyncAccount account;
    account.addressBook = QUrl(QString::fromUtf8(argv[2]));
    account.server = account.addressBook;
    account.user = QString::fromUtf8(argv[3]);
    const QString password = QString::fromUtf8(argv[4]);
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    std::sscanf(argv[5], "%d-%u-%u", &year, &month, &day);
    const std::chrono::year_month_day today{std::chrono::year{year}, std::chrono::month{month},
                                            std::chrono::day{day}};
    std::string dieAt;
    int timeout = carddav::DavClient::kAnswerTimeoutMs;
    for (int i = 6; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--calendar") == 0)
            account.calendar = QUrl(QString::fromUtf8(argv[i + 1]));
        else if (std::strcmp(argv[i], "--die-at") == 0)
            dieAt = argv[i + 1];
        else if (std::strcmp(argv[i], "--timeout-ms") == 0)
            timeout = std::atoi(argv[i + 1]);
    }

    contacts::ContactStore store(programDir);
    store.load(contacts::ContactStore::WhenMissing::Leave);
    carddav::BookSync::Environment environment{
        programDir, [today] { return today; },
        [today] { return std::chrono::sys_seconds(std::chrono::sys_days(today)); },
        [dieAt](const char* step) {
            if (!dieAt.empty() && dieAt == step)
                ::_exit(3);
        },
        timeout};
    carddav::BookSync sync(store, account, password, environment);
    int status = 1;
    QObject::connect(&sync, &carddav::BookSync::finished, &app,
                     [&](const carddav::SyncOutcome& outcome) {
                         if (outcome.ok)
                             std::printf("ok %d %zu %zu\n", outcome.requests,
                                         outcome.summary.received, outcome.summary.sent);
                         else
                             std::printf("error %s\n", outcome.error.toUtf8().constData());
                         status = outcome.ok ? 0 : 1;
                         app.quit();
                     });
    sync.start();
    app.exec();
    return status;
}
