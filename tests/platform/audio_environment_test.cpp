// The sound library's set-up: a silent sink where the machine has no sound output.
#include "platform/audio_environment.h"

#include <gtest/gtest.h>

#include <QDir>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

class EnvGuard {
public:
    explicit EnvGuard(const char* name)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {}
    ~EnvGuard() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(AudioEnvironmentTest, FindsDevicesAndServers) {
    test::TempFolder dir;
    SoundProbe probe;
    probe.deviceFolder = dir.path(QStringLiteral("snd"));
    probe.serverSockets = {dir.path(QStringLiteral("run/pulse/native")),
                           dir.path(QStringLiteral("run/pipewire-0"))};
    EXPECT_FALSE(HasSoundOutput(probe));
    // A capture-only card and the control node are no playback device.
    dir.write(QStringLiteral("snd/controlC0"), "");
    dir.write(QStringLiteral("snd/pcmC0D0c"), "");
    EXPECT_FALSE(HasSoundOutput(probe));
    dir.write(QStringLiteral("snd/pcmC1D3p"), "");
    EXPECT_TRUE(HasSoundOutput(probe));

    probe.deviceFolder = dir.path(QStringLiteral("none"));
    dir.write(QStringLiteral("run/pipewire-0"), "");
    EXPECT_TRUE(HasSoundOutput(probe));
    probe.serverSockets.clear();
    EXPECT_FALSE(HasSoundOutput(probe));
    probe.serverNamed = true;
    EXPECT_TRUE(HasSoundOutput(probe));
}

TEST(AudioEnvironmentTest, ChoosesGStreamerAndASilentSinkKeepingTheUsersChoices) {
    EnvGuard backend("QT_MEDIA_BACKEND");
    EnvGuard ranks("GST_PLUGIN_FEATURE_RANK");
    test::TempFolder dir;
    SoundProbe silent;
    silent.deviceFolder = dir.path();
    SoundProbe loud = silent;
    loud.serverNamed = true;

    qunsetenv("QT_MEDIA_BACKEND");
    qunsetenv("GST_PLUGIN_FEATURE_RANK");
    PrepareAudioEnvironment(loud);
    EXPECT_EQ(qgetenv("QT_MEDIA_BACKEND"), "gstreamer");
    EXPECT_FALSE(qEnvironmentVariableIsSet("GST_PLUGIN_FEATURE_RANK"));

    PrepareAudioEnvironment(silent);
    EXPECT_EQ(qgetenv("GST_PLUGIN_FEATURE_RANK"), "fakeaudiosink:MAX");
    PrepareAudioEnvironment(silent);
    EXPECT_EQ(qgetenv("GST_PLUGIN_FEATURE_RANK"), "fakeaudiosink:MAX");

    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    qputenv("GST_PLUGIN_FEATURE_RANK", "fakeaudiosink:NONE");
    PrepareAudioEnvironment(silent);
    EXPECT_EQ(qgetenv("QT_MEDIA_BACKEND"), "ffmpeg");
    EXPECT_EQ(qgetenv("GST_PLUGIN_FEATURE_RANK"), "fakeaudiosink:MAX,fakeaudiosink:NONE");
}

}  // namespace
}  // namespace leafsong
