// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/qt_media_player.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <QtGlobal>

#include "platform/files/native_path.h"

namespace media {
namespace {

QtMessageHandler previousHandler = nullptr;

// On a machine with no sound server, Qt's first look at the audio devices complains
// on stderr that it cannot reach one. Having no sound is a normal state for the game,
// so that one complaint is held back; every other message goes through.
void quietAboutMissingSoundServer(QtMsgType type, const QMessageLogContext& context,
                                  const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("PulseAudioService:"))) return;
  if (previousHandler != nullptr) previousHandler(type, context, message);
}

bool systemHasAudioOutput() {
  static bool firstLook = true;
  if (firstLook) {
    firstLook = false;
    previousHandler = qInstallMessageHandler(quietAboutMissingSoundServer);
    const bool any = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previousHandler);
    return any;
  }
  return !QMediaDevices::audioOutputs().isEmpty();
}

}  // namespace

QtMediaPlayer::QtMediaPlayer(std::function<bool()> hasAudioOutput)
    : hasAudioOutput_(hasAudioOutput ? std::move(hasAudioOutput) : systemHasAudioOutput) {}

QtMediaPlayer::~QtMediaPlayer() {
  if (player_) player_->stop();
}

void QtMediaPlayer::build() {
  if (player_) return;
  output_ = std::make_unique<QAudioOutput>();
  output_->setVolume(0.5f);
  player_ = std::make_unique<QMediaPlayer>();
  player_->setAudioOutput(output_.get());
  player_->setLoops(1);
  // A file that turns out not to play simply stays silent: errors are not shown.
}

void QtMediaPlayer::prepare() {
  if (!player_ && hasAudioOutput_()) build();
}

std::string QtMediaPlayer::source() const {
  return player_ ? QFile::encodeName(player_->source().toLocalFile()).toStdString() : std::string();
}

void QtMediaPlayer::setURL(const std::string& path) {
  const QString file = QFile::decodeName(QByteArray::fromStdString(files::nativePath(path)));
  const QFileInfo info(file);
  if (file.isEmpty() || !info.isFile() || !info.isReadable()) {
    // The effect that was playing is still cut off, as a new request always does.
    if (player_) player_->stop();
    return;
  }
  if (!hasAudioOutput_()) return;
  build();
  const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
  player_->stop();
  if (player_->source() != url) player_->setSource(url);
  player_->play();
}

}  // namespace media
