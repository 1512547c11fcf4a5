#include "framework/ui/controls/MoviePlayer.h"

#include "framework/runtime/Layout.h"
#include "framework/ui/qt/MovieImpl.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

namespace fw {
namespace {

// The sound goes to ALSA's player when the machine has one; it runs detached with its output discarded, so
// a missing sound device costs nothing but its own silent failure.
void Sound(Movie::Impl& movie) {
    const QString player = QStandardPaths::findExecutable(QStringLiteral("aplay"));
    if (player.isEmpty() || movie.sound.isEmpty())
        return;
    if (!movie.file) {
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quillfen-XXXXXX.wav"));
        if (!file->open() || file->write(movie.sound) != movie.sound.size() || !file->flush())
            return;
        movie.file = std::move(file);
    }
    QProcess process;
    process.setProgram(player);
    process.setArguments({QStringLiteral("-q"), movie.file->fileName()});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}

} // namespace

MoviePlayer::MoviePlayer(const ControlLayout& layout, void* parent)
    : VisualControl(layout, new QWidget(static_cast<QWidget*>(parent))) {}

void MoviePlayer::Play() {
    if (!movie_)
        return;
    ++playCount_;
    Sound(movie_->impl());
}

} // namespace fw
