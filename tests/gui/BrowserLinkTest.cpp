// The browser link on the desktop: the user's browsers found among the user's processes,
// Firefox's session store in its real mozLz4 form, a real headless Chromium captured
// through its DevToolsActivePort, the default browser reached through xdg-settings and
// xdg-open, and the safety rules (loopback sockets of this user only, web addresses only).

#include "core/comm/browser_dde.h"
#include "platform/BrowserProcesses.h"
#include "platform/ChromiumDevTools.h"
#include "platform/FirefoxSession.h"
#include "platform/LinuxBrowserLink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <lz4.h>
#include <unistd.h>

using namespace quill;
using namespace quill::platform;

namespace {

bool WriteFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// A command line as the proc file system holds it: each part ended by a zero byte.
QByteArray CommandLine(std::initializer_list<const char*> parts) {
    QByteArray out;
    for (const char* part : parts) {
        out.append(part).append('\0');
    }
    return out;
}

bool WriteScript(const QString& path, const QString& body) {
    return WriteFile(path, ("#!/bin/sh\n" + body + "\n").toUtf8()) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The store as Firefox writes it: "mozLz40\0", the size (32 bits, little-endian) and one
// LZ4 block, made here with liblz4 directly.
QByteArray MozLz4(const QByteArray& json) {
    QByteArray block(LZ4_compressBound(int(json.size())), '\0');
    const int written =
        LZ4_compress_default(json.constData(), block.data(), int(json.size()), int(block.size()));
    block.truncate(written);
    QByteArray out("mozLz40", 8);
    const quint32 size = quint32(json.size());
    for (int i = 0; i < 4; ++i) {
        out.append(char((size >> (8 * i)) & 0xFF));
    }
    return out + block;
}

// Two windows, the second selected; its second tab selected, that tab on its first entry
// after going back.
const char kSessionJson[] =
    "{\n"
    "  \"version\": [\"sessionrestore\", 1], \"selectedWindow\": 2,\n"
    "  \"windows\": [\n"
    "    {\"selected\": 1, \"tabs\": [{\"index\": 1, \"entries\": [{\"url\": "
    "\"https://one.example/\", \"title\": \"One\"}]}]},\n"
    "    {\"selected\": 2, \"tabs\": [\n"
    "      {\"index\": 1, \"entries\": [{\"url\": \"https://two.example/\", \"title\": "
    "\"Two\"}]},\n"
    "      {\"index\": 1, \"entries\": [\n"
    "        {\"url\": \"https://three.example/a,b?q=\\\"x\\\"\", \"title\": \"Three "
    "\\\"quoted\\\", with comma\"},\n"
    "        {\"url\": \"https://four.example/\", \"title\": \"Four\"}]}]}\n"
    "  ]}";

QStringList Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// A fake program that writes its arguments into the file, one a line: aside first and then
// renamed, so that a test waiting for the file never reads half of it.
QString RecordingScript(const QString& path) {
    return QStringLiteral("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.part' && "
                          "mv '%1.part' '%1'")
        .arg(path);
}

// Waits until the file has content, for a program that writes it in the background.
QStringList WaitForLines(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        const QStringList lines = Lines(path);
        if (!lines.isEmpty()) {
            return lines;
        }
        QTest::qWait(50);
    }
    return {};
}

} // namespace

class BrowserLinkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void browserProcessesAreTheUsersMainOnes();
    void firefoxDefaultProfileComesFromProfilesIni();
    void mozLz4StoreGivesTheSelectedTabsCurrentPage();
    void firefoxServiceAnswersWhenItRunsAndOpensTabs();
    void theDefaultBrowserGivesItsPageOnlyWhileItRuns();
    void onlyWebAddressesGoToABrowser();
    void anAddressWithoutASchemeOpensAsAWebPage();
    void defaultBrowserIsReachedThroughTheDesktop();
    void devToolsAreSpokenToOnlyOnThisUsersLoopbackSockets();
    void headlessChromiumIsCapturedThroughItsDevToolsPort();

private:
    LinuxBrowserLink::Environment Environment(std::vector<BrowserProcess> running) const;

    QTemporaryDir dir_;
    QString home_;
    QString config_;
    QString firefoxLog_;
    QString firefox_;
};

void BrowserLinkTest::initTestCase() {
    QVERIFY(dir_.isValid());
    home_ = dir_.filePath(QStringLiteral("home"));
    config_ = dir_.filePath(QStringLiteral("config"));
    const QString data = dir_.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(config_) && QDir().mkpath(data + "/applications"));
    qputenv("HOME", home_.toUtf8());
    qputenv("XDG_CONFIG_HOME", config_.toUtf8());
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "X-Generic");
    qunsetenv("BROWSER");
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("DISPLAY", ":99");
    }
    // A stand-in Firefox that records how it is started.
    firefoxLog_ = dir_.filePath(QStringLiteral("firefox.txt"));
    firefox_ = dir_.filePath(QStringLiteral("bin/firefox-esr"));
    QVERIFY(WriteScript(firefox_, RecordingScript(firefoxLog_)));
}

LinuxBrowserLink::Environment
BrowserLinkTest::Environment(std::vector<BrowserProcess> running) const {
    LinuxBrowserLink::Environment e;
    e.home = home_;
    e.configHome = config_;
    e.runningBrowsers = [running] { return running; };
    return e;
}

void BrowserLinkTest::browserProcessesAreTheUsersMainOnes() {
    // A proc tree of our own making: a Firefox, its content process and a Chromium helper.
    const QString proc = dir_.filePath(QStringLiteral("proc"));
    auto process = [&](const QString& pid, const QString& exe, const QByteArray& cmdline) {
        QVERIFY(QDir().mkpath(proc + "/" + pid));
        QVERIFY(QFile::link(exe, proc + "/" + pid + "/exe"));
        QVERIFY(WriteFile(proc + "/" + pid + "/cmdline", cmdline));
    };
    process("300", "/usr/lib/chromium/chromium",
            CommandLine({"/usr/lib/chromium/chromium", "--type=renderer"}));
    process("200", "/usr/lib/firefox-esr/firefox-esr",
            CommandLine({"firefox-esr", "-contentproc"}));
    process("100", "/usr/lib/firefox-esr/firefox-esr",
            CommandLine({"firefox-esr", "--profile", "/home/u/p"}));
    process("400", "/usr/bin/bash", CommandLine({"bash"}));
    // A helper whose command line Chromium rewrote into one text.
    process("500", "/usr/lib/chromium/chromium",
            CommandLine({"/usr/lib/chromium/chromium --type=zygote --no-sandbox"}));
    QVERIFY(WriteFile(proc + "/self-not-a-pid", "x"));
    const std::vector<BrowserProcess> found = RunningBrowsers(proc);
    QCOMPARE(found.size(), std::size_t(1));
    QCOMPARE(found[0].pid, qint64(100));
    QCOMPARE(found[0].family, BrowserFamily::Firefox);
    QCOMPARE(found[0].executable, QStringLiteral("/usr/lib/firefox-esr/firefox-esr"));
    QCOMPARE(found[0].arguments, (QStringList{"--profile", "/home/u/p"}));

    QCOMPARE(FamilyOfProgram("chrome"), std::optional(BrowserFamily::Chromium));
    QCOMPARE(FamilyOfProgram("firefox"), std::optional(BrowserFamily::Firefox));
    QVERIFY(!FamilyOfProgram("firefox.sh"));
    QCOMPARE(FamilyOfDesktopFile("org.mozilla.firefox.desktop"),
             std::optional(BrowserFamily::Firefox));
    QCOMPARE(FamilyOfDesktopFile("chromium.desktop"), std::optional(BrowserFamily::Chromium));
    QVERIFY(!FamilyOfDesktopFile("org.gnome.Epiphany.desktop"));
    QCOMPARE(SwitchValue({"--user-data-dir=/a b", "x"}, "user-data-dir"),
             std::optional<QString>("/a b"));
    QCOMPARE(SwitchValue({"-profile", "/p"}, "profile"), std::optional<QString>("/p"));
    QVERIFY(!SwitchValue({"--profile"}, "profile"));
    QVERIFY(!SwitchValue({"profile", "/p"}, "profile"));
}

void BrowserLinkTest::firefoxDefaultProfileComesFromProfilesIni() {
    const QString root = dir_.filePath(QStringLiteral("ff-roots/a"));
    QVERIFY(WriteFile(root + "/profiles.ini",
                      "[Profile1]\nName=other\nIsRelative=1\nPath=x.other\n\n"
                      "[Profile0]\nName=default\nIsRelative=1\nPath=y.default\nDefault=1\n"));
    QCOMPARE(DefaultFirefoxProfile({dir_.filePath("ff-roots/none"), root}), root + "/y.default");
    // The install's own default wins over the marked profile.
    QVERIFY(WriteFile(root + "/profiles.ini",
                      "[Profile0]\nIsRelative=1\nPath=y.default\nDefault=1\n\n"
                      "[Install4F96D1932A9F858E]\nDefault=z.default-esr\nLocked=1\n"));
    QCOMPARE(DefaultFirefoxProfile({root}), root + "/z.default-esr");
    QCOMPARE(NamedFirefoxProfile({root}, "other"), QString());
    QVERIFY(WriteFile(root + "/profiles.ini",
                      "[Profile1]\nName=work\nIsRelative=1\nPath=w.work\n\n"
                      "[Profile0]\nName=default\nIsRelative=0\nPath=/elsewhere/p\n"));
    QCOMPARE(NamedFirefoxProfile({root}, "work"), root + "/w.work");
    QCOMPARE(NamedFirefoxProfile({root}, "Work"), QString());
    QCOMPARE(DefaultFirefoxProfile({root}), QString()); // two profiles, none marked
    QVERIFY(WriteFile(root + "/profiles.ini", "[Profile0]\nIsRelative=0\nPath=/elsewhere/p\n"));
    QCOMPARE(DefaultFirefoxProfile({root}), QStringLiteral("/elsewhere/p"));
    QVERIFY(WriteFile(root + "/profiles.ini", "[General]\nStartWithLastProfile=1\n"));
    QCOMPARE(DefaultFirefoxProfile({root}), QString());
}

void BrowserLinkTest::mozLz4StoreGivesTheSelectedTabsCurrentPage() {
    const QByteArray stored = MozLz4(kSessionJson);
    const std::optional<QByteArray> json = DecodeMozLz4(stored);
    QVERIFY(json);
    QCOMPARE(*json, QByteArray(kSessionJson));
    QCOMPARE(DecodeMozLz4(EncodeMozLz4(kSessionJson)), std::optional(QByteArray(kSessionJson)));
    const std::optional<PageInfo> page = CurrentPageOfSession(*json);
    QVERIFY(page);
    QCOMPARE(page->url, QStringLiteral("https://three.example/a,b?q=\"x\""));
    QCOMPARE(page->title, QStringLiteral("Three \"quoted\", with comma"));

    // Damaged stores give nothing rather than garbage.
    QVERIFY(!DecodeMozLz4("mozLz40"));
    QVERIFY(!DecodeMozLz4(QByteArray(kSessionJson)));
    QByteArray huge = stored;
    huge[11] = char(0x7F); // a size of about two gigabytes
    QVERIFY(!DecodeMozLz4(huge));
    QByteArray cut = stored.left(stored.size() / 2);
    QVERIFY(!DecodeMozLz4(cut));
    QVERIFY(!CurrentPageOfSession("{\"windows\": []}"));
    // Out-of-range selections fall back to the first.
    const auto first = CurrentPageOfSession("{\"selectedWindow\": 9, \"windows\": [{\"selected\": "
                                            "0, \"tabs\": [{\"entries\": [{\"url\": \"u\"}]}]}]}");
    QVERIFY(first);
    QCOMPARE(first->title, QStringLiteral("u"));
}

void BrowserLinkTest::firefoxServiceAnswersWhenItRunsAndOpensTabs() {
    const QString root = home_ + QStringLiteral("/.mozilla/firefox");
    QVERIFY(WriteFile(root + "/profiles.ini",
                      "[Install4F96D1932A9F858E]\nDefault=Profiles/abc.default-esr\n"));
    QVERIFY(WriteFile(root + "/Profiles/abc.default-esr/sessionstore-backups/recovery.jsonlz4",
                      MozLz4(kSessionJson)));

    LinuxBrowserLink::Environment noDesktop = Environment({});
    noDesktop.xdgSettings = dir_.filePath(QStringLiteral("no-such-xdg-settings"));
    LinuxBrowserLink notRunning(noDesktop);
    TBrowserDDE none(notRunning, "NETSCAPE", "");
    none.AutoLoad = false;
    QVERIFY(!none.FindServer());

    const BrowserProcess firefox{BrowserFamily::Firefox, 4242, firefox_, {}};
    LinuxBrowserLink link(Environment({firefox}));
    TBrowserDDE dde(link, "NETSCAPE", "");
    dde.AutoLoad = false;
    const TBrowserDDE::WindowInfo info = dde.GetWindowInfo();
    QCOMPARE(QString::fromStdString(dde.ServerName), QStringLiteral("NETSCAPE"));
    // The reply keeps the address whole in meaning and the title whole in words.
    QCOMPARE(QString::fromStdString(info.url),
             QStringLiteral("https://three.example/a%2Cb?q=%22x%22"));
    QCOMPARE(QString::fromStdString(info.title),
             QStringLiteral("Three \u201Dquoted\u201D, with comma"));

    QCOMPARE(dde.OpenURL("https://example.org/page"), std::string("0xFFFFFFFF"));
    QCOMPARE(WaitForLines(firefoxLog_), (QStringList{"--new-tab", "https://example.org/page"}));

    // A browser started on another profile is reached on that profile.
    QFile::remove(firefoxLog_);
    const BrowserProcess other{BrowserFamily::Firefox, 4243, firefox_, {"-P", "work"}};
    LinuxBrowserLink workLink(Environment({other}));
    TBrowserDDE work(workLink, "NETSCAPE", "");
    work.OpenURL("http://example.org/,x");
    QCOMPARE(WaitForLines(firefoxLog_),
             (QStringList{"-P", "work", "--new-tab", "http://example.org/,x"}));
    // Its page is read from that profile's store.
    QVERIFY(WriteFile(root + "/profiles.ini",
                      "[Install4F96D1932A9F858E]\nDefault=Profiles/abc.default-esr\n\n"
                      "[Profile1]\nName=work\nIsRelative=1\nPath=Profiles/w.work\n"));
    QVERIFY(WriteFile(root + "/Profiles/w.work/sessionstore-backups/recovery.jsonlz4",
                      MozLz4("{\"windows\": [{\"tabs\": [{\"entries\": [{\"url\": "
                             "\"https://work.example/\", \"title\": \"Work\"}]}]}]}")));
    work.AutoLoad = false;
    QCOMPARE(work.GetWindowInfo().title, std::string("Work"));
}

void BrowserLinkTest::theDefaultBrowserGivesItsPageOnlyWhileItRuns() {
    const QString root = home_ + QStringLiteral("/.mozilla/firefox");
    QVERIFY(WriteFile(root + "/profiles.ini",
                      "[Install4F96D1932A9F858E]\nDefault=Profiles/abc.default-esr\n"));
    QVERIFY(WriteFile(root + "/Profiles/abc.default-esr/sessionstore-backups/recovery.jsonlz4",
                      MozLz4(kSessionJson)));
    const QString settings = dir_.filePath(QStringLiteral("xdg-settings-firefox"));
    QVERIFY(WriteScript(settings, QStringLiteral("echo firefox-esr.desktop")));

    // The desktop names Firefox, which does not run: no page to read, no browser to tell.
    LinuxBrowserLink::Environment idle = Environment({});
    idle.xdgSettings = settings;
    LinuxBrowserLink notRunning(idle);
    TBrowserDDE none(notRunning, "IExplore", "");
    none.AutoLoad = false;
    QVERIFY(none.FindServer()); // pages still open through the desktop
    const TBrowserDDE::WindowInfo nothing = none.GetWindowInfo();
    QCOMPARE(nothing.url, std::string());
    QVERIFY(!nothing.browserFound);

    const BrowserProcess firefox{BrowserFamily::Firefox, 4242, firefox_, {}};
    LinuxBrowserLink::Environment busy = Environment({firefox});
    busy.xdgSettings = settings;
    LinuxBrowserLink running(busy);
    TBrowserDDE dde(running, "IExplore", "");
    dde.AutoLoad = false;
    dde.ServerName = "IExplore";
    const TBrowserDDE::WindowInfo page = dde.GetWindowInfo();
    QVERIFY(page.browserFound);
    QCOMPARE(QString::fromStdString(page.url),
             QStringLiteral("https://three.example/a%2Cb?q=%22x%22"));
}

void BrowserLinkTest::onlyWebAddressesGoToABrowser() {
    QFile::remove(firefoxLog_);
    const BrowserProcess firefox{BrowserFamily::Firefox, 4242, firefox_, {}};
    LinuxBrowserLink link(Environment({firefox}));
    for (const char* target : {"file:///usr/share/applications/xterm.desktop", "/etc/passwd",
                               "--new-instance", "javascript:alert(1)", "http:"}) {
        link.SetLink("NETSCAPE", "WWW_OpenURL");
        QVERIFY(link.OpenLink());
        QVERIFY2(!link.RequestData(std::string(target) + ",,0xFFFFFFFF"), target);
    }
    QTest::qWait(300);
    QVERIFY(!QFile::exists(firefoxLog_));
    QCOMPARE(UrlOfOpenRequest("https://a.example/x,y,,0xFFFFFFFF"),
             QStringLiteral("https://a.example/x,y"));
    QCOMPARE(UrlOfOpenRequest("https://a.example/"), QStringLiteral("https://a.example/"));
    // Unknown services and topics never answer.
    link.SetLink("Opera", "WWW_Version");
    QVERIFY(!link.OpenLink());
    link.SetLink("NETSCAPE", "WWW_Exit");
    QVERIFY(!link.OpenLink());
    QVERIFY(!link.RequestData(""));
    QVERIFY(!link.StartApplication(""));
}

void BrowserLinkTest::anAddressWithoutASchemeOpensAsAWebPage() {
    QFile::remove(firefoxLog_);
    const BrowserProcess firefox{BrowserFamily::Firefox, 4242, firefox_, {}};
    LinuxBrowserLink link(Environment({firefox}));
    TBrowserDDE dde(link, "NETSCAPE", "");
    QCOMPARE(dde.OpenURL("www.example.com/a b?q=\xC3\xA4&x=1#top"), std::string("0xFFFFFFFF"));
    QCOMPARE(
        WaitForLines(firefoxLog_),
        (QStringList{"--new-tab", QStringLiteral("http://www.example.com/a b?q=\u00E4&x=1#top")}));

    QCOMPARE(WebAddressOf(QStringLiteral(" example.org ")), QStringLiteral("http://example.org"));
    QCOMPARE(WebAddressOf(QStringLiteral("https://example.org/")),
             QStringLiteral("https://example.org/"));
    QCOMPARE(WebAddressOf(QStringLiteral("mailto:ann@example.org")),
             QStringLiteral("mailto:ann@example.org"));
    // Paths and options are never dressed up as web pages.
    for (const char* kept : {"/etc/passwd", "./notes.html", "~/notes.html", "--new-instance", ""}) {
        QCOMPARE(WebAddressOf(QString::fromUtf8(kept)), QString::fromUtf8(kept));
    }
}

void BrowserLinkTest::defaultBrowserIsReachedThroughTheDesktop() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-settings")).isEmpty()) {
        QSKIP("xdg-settings (xdg-utils) is not installed");
    }
    const QString opened = dir_.filePath(QStringLiteral("opened.txt"));
    const QString browser = dir_.filePath(QStringLiteral("bin/record-browser"));
    QVERIFY(WriteScript(browser, RecordingScript(opened)));
    QVERIFY(WriteFile(
        dir_.filePath("data/applications/quill-test-browser.desktop"),
        QStringLiteral("[Desktop Entry]\nType=Application\nName=Recorder\nExec=%1 %u\n"
                       "MimeType=x-scheme-handler/http;x-scheme-handler/https;text/html;\n")
            .arg(browser)
            .toUtf8()));
    // What "xdg-settings set default-web-browser" does on a generic desktop, without its
    // long wait for a session bus.
    QCOMPARE(QProcess::execute(QStringLiteral("xdg-mime"),
                               {"default", "quill-test-browser.desktop", "x-scheme-handler/http",
                                "x-scheme-handler/https", "text/html"}),
             0);
    QProcess check;
    check.start(QStringLiteral("xdg-settings"),
                {"check", "default-web-browser", "quill-test-browser.desktop"});
    QVERIFY(check.waitForFinished());
    QCOMPARE(check.readAllStandardOutput().trimmed(), QByteArray("yes"));

    LinuxBrowserLink link(Environment({}));
    TBrowserDDE dde(link, "IExplore", "");
    QCOMPARE(dde.OpenURL("https://example.org/a?b=1&c=2"), std::string("0xFFFFFFFF"));
    QCOMPARE(QString::fromStdString(dde.ServerName), QStringLiteral("IExplore"));
    QCOMPARE(WaitForLines(opened), QStringList{"https://example.org/a?b=1&c=2"});
    // Its page cannot be read: the default browser here is neither family.
    QCOMPARE(dde.GetWindowInfo().url, std::string());
    QVERIFY(!dde.GetWindowInfo().browserFound);

    // Without the desktop's tools nothing answers and nothing is opened.
    QFile::remove(opened);
    LinuxBrowserLink::Environment bare = Environment({});
    bare.xdgSettings = dir_.filePath(QStringLiteral("no-such-xdg-settings"));
    LinuxBrowserLink noDesktop(bare);
    TBrowserDDE nothing(noDesktop, "IExplore", "");
    QCOMPARE(nothing.OpenURL("https://example.org/"), std::string());
    QVERIFY(!QFile::exists(opened));
}

void BrowserLinkTest::devToolsAreSpokenToOnlyOnThisUsersLoopbackSockets() {
    const uint me = ::getuid();
    const QString proc = dir_.filePath(QStringLiteral("proc-net"));
    const QByteArray heading = "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when "
                               "retrnsmt   uid  timeout inode\n";
    auto row = [](const char* local, const char* state, uint uid) {
        return QByteArray("   0: ") + local + " 00000000:0000 " + state +
               " 00000000:00000000 00:00000000 00000000  " + QByteArray::number(uid) +
               "        0 1234 1 0000000000000000 100 0 0 10 0\n";
    };
    QVERIFY(WriteFile(proc + "/net/tcp",
                      heading + row("0100007F:2328", "0A", me + 1) + // 9000: another user's
                          row("00000000:2329", "0A", me) +           // 9001: every address
                          row("0100007F:232A", "01", me) +           // 9002: not listening
                          row("0100007F:232B", "0A", me)));          // 9003: ours
    QVERIFY(WriteFile(proc + "/net/tcp6",
                      heading + row("00000000000000000000000001000000:232C", "0A", me) +
                          row("0000000000000000FFFF00000100007F:232D", "0A", me) +
                          row("00000000000000000000000000000000:232E", "0A", me)));
    QVERIFY(!LoopbackListenerOwnedBy(9000, me, proc));
    QVERIFY(!LoopbackListenerOwnedBy(9001, me, proc));
    QVERIFY(!LoopbackListenerOwnedBy(9002, me, proc));
    QVERIFY(LoopbackListenerOwnedBy(9003, me, proc));
    QVERIFY(LoopbackListenerOwnedBy(9004, me, proc));
    QVERIFY(LoopbackListenerOwnedBy(9005, me, proc));
    QVERIFY(!LoopbackListenerOwnedBy(9006, me, proc));
    QVERIFY(!LoopbackListenerOwnedBy(9003, me + 1, proc));

    // The kernel's own tables: a socket this process listens on is ours.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QVERIFY(LoopbackListenerOwnedBy(server.serverPort(), me));
    QVERIFY(!LoopbackListenerOwnedBy(server.serverPort(), me + 1));

    // A stale announcement: the port it names has no listener of ours.
    const QString profile = dir_.filePath(QStringLiteral("stale-profile"));
    const quint16 port = server.serverPort();
    server.close();
    QVERIFY(WriteFile(profile + "/DevToolsActivePort",
                      QByteArray::number(port) + "\n/devtools/browser/x\n"));
    QCOMPARE(AnnouncedDevToolsPort(profile), std::optional<quint16>(port));
    QVERIFY(!DevToolsEndpoint::Find(profile));
    QVERIFY(WriteFile(profile + "/DevToolsActivePort", "70000\n"));
    QVERIFY(!AnnouncedDevToolsPort(profile));
    QVERIFY(!AnnouncedDevToolsPort(dir_.filePath("no-profile")));

    QCOMPARE(HttpResponseBody("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n[]"),
             std::optional(QByteArray("[]")));
    QVERIFY(!HttpResponseBody("HTTP/1.1 404 Not Found\r\n\r\nno"));
    QVERIFY(!HttpResponseBody("garbage"));
}

void BrowserLinkTest::headlessChromiumIsCapturedThroughItsDevToolsPort() {
    const QString chromium = QStringLiteral("/usr/bin/chromium");
    if (!QFileInfo(chromium).isExecutable()) {
        QSKIP("Chromium (Debian's chromium) is not installed");
    }
    const QString page = dir_.filePath(QStringLiteral("page.html"));
    QVERIFY(WriteFile(page,
                      "<html><head><title>Quill \"Test\", Page &amp; &lt;more&gt;</title></head>"
                      "<body>Hello</body></html>"));
    const QString userData = dir_.filePath(QStringLiteral("chromium-profile"));
    QProcess browser;
    browser.setProcessChannelMode(QProcess::MergedChannels);
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.start(chromium,
                  {"--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-port=0",
                   "--user-data-dir=" + userData, "--no-first-run",
                   "--disable-background-networking", "--disable-component-update",
                   "--disable-sync", QUrl::fromLocalFile(page).toString()});
    QVERIFY(browser.waitForStarted());
    const qint64 pid = browser.processId();
    auto stop = qScopeGuard([&] {
        browser.terminate();
        if (!browser.waitForFinished(5000)) {
            browser.kill();
            browser.waitForFinished(5000);
        }
    });

    // Our own browser among the user's processes (others of this user may run too).
    auto ours = [pid] {
        std::vector<BrowserProcess> found;
        for (const BrowserProcess& p : RunningBrowsers()) {
            if (p.pid == pid) {
                found.push_back(p);
            }
        }
        return found;
    };
    QElapsedTimer timer;
    timer.start();
    while (ours().empty() && timer.elapsed() < 10000) {
        QTest::qWait(100);
    }
    QCOMPARE(ours().size(), std::size_t(1));
    LinuxBrowserLink::Environment environment = Environment({});
    environment.runningBrowsers = ours;
    // The default browser stays out of it: only the Chromium service may answer.
    environment.xdgSettings = dir_.filePath(QStringLiteral("no-such-xdg-settings"));
    LinuxBrowserLink link(environment);
    TBrowserDDE dde(link, "Mosaic", "");
    dde.AutoLoad = false;

    timer.restart();
    TBrowserDDE::WindowInfo info;
    while (timer.elapsed() < 30000) {
        info = dde.GetWindowInfo();
        if (info.title == "Quill \u201DTest\u201D, Page & <more>") {
            break;
        }
        QTest::qWait(200);
    }
    QCOMPARE(QString::fromStdString(dde.ServerName), QStringLiteral("Mosaic"));
    QCOMPARE(QString::fromStdString(info.url), QUrl::fromLocalFile(page).toString());
    QCOMPARE(QString::fromStdString(info.title),
             QStringLiteral("Quill \u201DTest\u201D, Page & <more>"));

    // A page opened through the link becomes a tab of this browser.
    const QString second = dir_.filePath(QStringLiteral("second.html"));
    QVERIFY(WriteFile(second, "<title>Second</title>"));
    const std::string target = dde.OpenURL("http://127.0.0.1:9/");
    QVERIFY(!target.empty());
    QVERIFY(target != "0xFFFFFFFF");
    const auto endpoint = DevToolsEndpoint::Find(userData);
    QVERIFY(endpoint);
    QVERIFY(endpoint->Activate(QString::fromStdString(target)));
}

QTEST_MAIN(BrowserLinkTest)
#include "BrowserLinkTest.moc"
