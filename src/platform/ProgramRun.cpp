#include "platform/ProgramRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace quill::platform {

ProgramExit RunProgram(const QString& program, const QStringList& arguments, int waitMs) {
    ProgramExit result;
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(QIODevice::ReadWrite);
    if (!process->waitForStarted()) {
        delete process;
        return result;
    }
    result.started = true;
    process->closeWriteChannel();
    bool ended = false;
    QEventLoop loop;
    QObject::connect(process, &QProcess::finished, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    if (process->state() != QProcess::NotRunning) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        ended = true;
    }
    if (!ended) {
        // Still running (a composer opened in the foreground): it is left to run and is
        // tidied up when it ends.
        process->disconnect(&loop);
        // Its output is read and dropped, so that a full pipe never stops it.
        QObject::connect(process, &QProcess::readyReadStandardOutput, process,
                         [process] { process->readAllStandardOutput(); });
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        process->setParent(QCoreApplication::instance());
        return result;
    }
    if (process->exitStatus() == QProcess::NormalExit) {
        result.status = process->exitCode();
    }
    result.output = process->readAllStandardOutput();
    delete process;
    return result;
}

} // namespace quill::platform
