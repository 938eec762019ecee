#include "platform/LinuxBrowserLink.h"

#include "core/model/nrb_object.h"
#include "core/util/ascii.h"
#include "platform/ChromiumDevTools.h"
#include "platform/ProgramRun.h"
#include "platform/Shell.h"
#include "platform/Utf8Text.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace quill::platform {
namespace {

// The window a browser without window numbers is said to show a page in.
constexpr char kAnyWindow[] = "0xFFFFFFFF";

// Where each Chromium-family program keeps its profile when no --user-data-dir is given.
QString DefaultUserDataName(const QString& program) {
    if (program == QLatin1String("chrome") || program == QLatin1String("google-chrome")) {
        return QStringLiteral("google-chrome");
    }
    if (program == QLatin1String("brave")) {
        return QStringLiteral("BraveSoftware/Brave-Browser");
    }
    if (program == QLatin1String("msedge")) {
        return QStringLiteral("microsoft-edge");
    }
    if (program == QLatin1String("vivaldi-bin")) {
        return QStringLiteral("vivaldi");
    }
    return QStringLiteral("chromium");
}

// The switches that name a Firefox profile, passed on so that the running browser is the
// one reached.
QStringList FirefoxProfileSwitches(const QStringList& arguments) {
    QStringList switches;
    if (const std::optional<QString> profile = SwitchValue(arguments, QStringLiteral("profile"))) {
        switches << QStringLiteral("--profile") << *profile;
    } else if (const std::optional<QString> name = SwitchValue(arguments, QStringLiteral("P"))) {
        switches << QStringLiteral("-P") << *name;
    }
    return switches;
}

} // namespace

LinuxBrowserLink::Environment LinuxBrowserLink::Environment::FromSystem() {
    Environment e;
    e.home = QDir::homePath();
    e.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    e.runningBrowsers = [] { return RunningBrowsers(); };
    return e;
}

LinuxBrowserLink::LinuxBrowserLink() : LinuxBrowserLink(Environment::FromSystem()) {}

LinuxBrowserLink::LinuxBrowserLink(Environment environment)
    : environment_(std::move(environment)) {}

void LinuxBrowserLink::SetLink(std::string_view service, std::string_view topic) {
    open_ = false;
    kind_ = EqualsIgnoreAsciiCase(service, "NETSCAPE")   ? Kind::Firefox
            : EqualsIgnoreAsciiCase(service, "IExplore") ? Kind::Default
            : EqualsIgnoreAsciiCase(service, "Mosaic")   ? Kind::Chromium
                                                         : Kind::None;
    topic_ = EqualsIgnoreAsciiCase(topic, "WWW_Version")         ? Topic::Version
             : EqualsIgnoreAsciiCase(topic, "WWW_OpenURL")       ? Topic::OpenURL
             : EqualsIgnoreAsciiCase(topic, "WWW_Activate")      ? Topic::Activate
             : EqualsIgnoreAsciiCase(topic, "WWW_GetWindowInfo") ? Topic::WindowInfo
                                                                 : Topic::None;
}

bool LinuxBrowserLink::OpenLink() {
    open_ = false;
    if (topic_ == Topic::None) {
        return false;
    }
    switch (kind_) {
    case Kind::Firefox:
        open_ = Running(BrowserFamily::Firefox).has_value();
        break;
    case Kind::Chromium:
        open_ = Running(BrowserFamily::Chromium).has_value();
        break;
    case Kind::Default:
        // Asked once per conversation; its requests use the answer.
        defaultBrowser_ = DefaultBrowser();
        open_ = !defaultBrowser_.isEmpty();
        if (open_ && topic_ == Topic::WindowInfo) {
            // The desktop opens pages in its browser whether or not it runs, but only a
            // running browser of a known family shows a page that can be read.
            const std::optional<BrowserFamily> family = FamilyOfDesktopFile(defaultBrowser_);
            open_ = family && Running(*family).has_value();
        }
        break;
    case Kind::None:
        break;
    }
    return open_;
}

void LinuxBrowserLink::CloseLink() {
    open_ = false;
}

bool LinuxBrowserLink::StartApplication(std::string_view program) {
    // The program alone: no shell reads the text, and it gets no arguments.
    return !program.empty() && QProcess::startDetached(FromUtf8(program), {});
}

std::optional<std::string> LinuxBrowserLink::RequestData(std::string_view item) {
    if (!open_) {
        return std::nullopt;
    }
    switch (topic_) {
    case Topic::Version:
        return Version();
    case Topic::OpenURL:
        return Open(UrlOfOpenRequest(item));
    case Topic::Activate:
        return Activate(FromUtf8(item));
    case Topic::WindowInfo:
        return WindowInfo();
    case Topic::None:
        break;
    }
    return std::nullopt;
}

std::optional<BrowserProcess> LinuxBrowserLink::Running(BrowserFamily family) const {
    if (!environment_.runningBrowsers) {
        return std::nullopt;
    }
    for (const BrowserProcess& process : environment_.runningBrowsers()) {
        if (process.family == family) {
            return process;
        }
    }
    return std::nullopt;
}

QString LinuxBrowserLink::DefaultBrowser() const {
    const ProgramExit exit = RunProgram(
        environment_.xdgSettings, {QStringLiteral("get"), QStringLiteral("default-web-browser")},
        environment_.waitMs);
    if (exit.status != 0) {
        return {};
    }
    return QString::fromUtf8(exit.output).trimmed();
}

std::optional<std::string> LinuxBrowserLink::Version() {
    if (kind_ == Kind::Default) {
        return defaultBrowser_.toStdString();
    }
    const auto process =
        Running(kind_ == Kind::Firefox ? BrowserFamily::Firefox : BrowserFamily::Chromium);
    if (!process) {
        return std::nullopt;
    }
    return QFileInfo(process->executable).fileName().toStdString();
}

QString WebAddressOf(const QString& target) {
    const QString text = target.trimmed();
    // "www.example.com" as imported or typed: a browser's address bar takes it as a web
    // page, and so does a browser asked to open it. A path is never taken for a host.
    if (text.isEmpty() || HasUrlScheme(text) || text.startsWith(QLatin1Char('/')) ||
        text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('-')) ||
        text.startsWith(QLatin1Char('~')) || text.startsWith(QLatin1Char('\\'))) {
        return target;
    }
    return QStringLiteral("http://") + text;
}

std::optional<std::string> LinuxBrowserLink::Open(const QString& request) {
    const QString url = WebAddressOf(request);
    // Only a web, mail or news address goes to a browser: a "file:" link to a desktop
    // file, for one, would start a program.
    if (!IsURL(url.toStdString())) {
        return std::nullopt;
    }
    if (kind_ == Kind::Default) {
        const ProgramExit exit = RunProgram(environment_.xdgOpen, {url}, environment_.waitMs);
        if (!exit.started || (exit.status && *exit.status != 0)) {
            return std::nullopt;
        }
        return kAnyWindow;
    }
    if (kind_ == Kind::Firefox) {
        const auto firefox = Running(BrowserFamily::Firefox);
        if (!firefox) {
            return std::nullopt;
        }
        const QStringList arguments = FirefoxProfileSwitches(firefox->arguments)
                                      << QStringLiteral("--new-tab") << url;
        if (!QProcess::startDetached(firefox->executable, arguments)) {
            return std::nullopt;
        }
        return kAnyWindow;
    }
    const auto chromium = Running(BrowserFamily::Chromium);
    if (!chromium) {
        return std::nullopt;
    }
    const QString userData = ChromiumUserData(*chromium);
    if (const auto endpoint = DevToolsEndpoint::Find(userData)) {
        if (const std::optional<QString> target = endpoint->OpenTab(url)) {
            return target->toStdString();
        }
    }
    // Started again with the same profile, Chromium hands the address to the running one.
    QStringList arguments;
    if (SwitchValue(chromium->arguments, QStringLiteral("user-data-dir"))) {
        arguments << QStringLiteral("--user-data-dir=") + userData;
    }
    arguments << url;
    if (!QProcess::startDetached(chromium->executable, arguments)) {
        return std::nullopt;
    }
    return kAnyWindow;
}

std::optional<std::string> LinuxBrowserLink::Activate(const QString& window) {
    // Only Chromium's DevTools can bring a tab forward; elsewhere the browser raised its
    // window itself when it took the address, as far as the window system lets it.
    if (kind_ != Kind::Chromium || window.isEmpty() || window == QLatin1String(kAnyWindow)) {
        return std::nullopt;
    }
    const auto chromium = Running(BrowserFamily::Chromium);
    if (!chromium) {
        return std::nullopt;
    }
    const auto endpoint = DevToolsEndpoint::Find(ChromiumUserData(*chromium));
    if (!endpoint || !endpoint->Activate(window)) {
        return std::nullopt;
    }
    return window.toStdString();
}

std::optional<std::string> LinuxBrowserLink::WindowInfo() {
    std::optional<BrowserFamily> family;
    if (kind_ == Kind::Firefox) {
        family = BrowserFamily::Firefox;
    } else if (kind_ == Kind::Chromium) {
        family = BrowserFamily::Chromium;
    } else {
        family = FamilyOfDesktopFile(defaultBrowser_);
    }
    if (!family) {
        return std::nullopt;
    }
    const auto process = Running(*family);
    if (!process) {
        return std::nullopt;
    }
    const std::optional<PageInfo> page =
        *family == BrowserFamily::Firefox ? FirefoxPage(*process) : ChromiumPage(*process);
    if (!page) {
        return std::nullopt;
    }
    return WindowInfoReply(*page);
}

std::optional<PageInfo> LinuxBrowserLink::FirefoxPage(const BrowserProcess& firefox) const {
    // The profile the running browser was started on, else the default one.
    const QStringList roots = FirefoxProfileRoots(environment_.home, environment_.configHome);
    QString profile;
    if (const auto directory = SwitchValue(firefox.arguments, QStringLiteral("profile"))) {
        profile = *directory;
    } else if (const auto name = SwitchValue(firefox.arguments, QStringLiteral("P"))) {
        profile = NamedFirefoxProfile(roots, *name);
    } else {
        profile = DefaultFirefoxProfile(roots);
    }
    return ReadFirefoxPage(profile);
}

std::optional<PageInfo> LinuxBrowserLink::ChromiumPage(const BrowserProcess& chromium) const {
    const auto endpoint = DevToolsEndpoint::Find(ChromiumUserData(chromium));
    if (!endpoint) {
        return std::nullopt;
    }
    return endpoint->FirstPage();
}

QString LinuxBrowserLink::ChromiumUserData(const BrowserProcess& chromium) const {
    if (const auto dir = SwitchValue(chromium.arguments, QStringLiteral("user-data-dir"))) {
        return *dir;
    }
    return QDir(environment_.configHome)
        .filePath(DefaultUserDataName(QFileInfo(chromium.executable).fileName()));
}

QString UrlOfOpenRequest(std::string_view item) {
    std::size_t end = item.size();
    for (int field = 0; field < 2; ++field) {
        const std::size_t comma = item.substr(0, end).rfind(',');
        if (comma == std::string_view::npos) {
            break;
        }
        end = comma;
    }
    return FromUtf8(item.substr(0, end));
}

std::string WindowInfoReply(const PageInfo& page) {
    QString url = page.url;
    url.replace(QLatin1Char('"'), QStringLiteral("%22"))
        .replace(QLatin1Char(','), QStringLiteral("%2C"));
    QString title = page.title;
    title.replace(QLatin1Char('"'), QChar(0x201D));
    return QStringLiteral("\"%1\",\"%2\"").arg(url, title).toStdString();
}

QString BrowserServiceMeaning(const QString& service) {
    if (service.compare(QLatin1String("NETSCAPE"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Firefox family");
    }
    if (service.compare(QLatin1String("IExplore"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("the desktop's default browser");
    }
    if (service.compare(QLatin1String("Mosaic"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Chromium family");
    }
    return {};
}

std::optional<BrowserFamily> FamilyOfDesktopFile(const QString& desktopFile) {
    QString name = desktopFile.toLower();
    name.remove(QStringLiteral(".desktop"));
    // Desktop ids such as "org.mozilla.firefox" or "com.google.Chrome" name the program last.
    name = name.section(QLatin1Char('.'), -1);
    if (name.contains(QLatin1String("firefox")) || name.contains(QLatin1String("librewolf")) ||
        name.contains(QLatin1String("waterfox")) || name.contains(QLatin1String("icecat"))) {
        return BrowserFamily::Firefox;
    }
    if (name.contains(QLatin1String("chrom")) || name.contains(QLatin1String("brave")) ||
        name.contains(QLatin1String("edge")) || name.contains(QLatin1String("vivaldi"))) {
        return BrowserFamily::Chromium;
    }
    return std::nullopt;
}

} // namespace quill::platform
