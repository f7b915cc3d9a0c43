#include "platform/audio_environment.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace leafsong {
namespace {

TEST(AudioEnvironmentTest, FindsOutputAndPicksASilentSinkWithoutIt) {
    test::TempFolder dir;
    SoundProbe probe{
        dir.path(QStringLiteral("snd")), {dir.path(QStringLiteral("pipewire-0"))}, false};
    dir.write(QStringLiteral("snd/controlC0"), ""), dir.write(QStringLiteral("snd/pcmC0D0c"), "");
    EXPECT_FALSE(HasSoundOutput(probe));  // capture and control nodes play nothing
    dir.write(QStringLiteral("pipewire-0"), "");
    EXPECT_TRUE(HasSoundOutput(probe));
    EXPECT_TRUE(HasSoundOutput({dir.path(QStringLiteral("snd")), {}, true}));
    dir.write(QStringLiteral("snd/pcmC1D3p"), "");
    EXPECT_TRUE(HasSoundOutput({dir.path(QStringLiteral("snd")), {}, false}));

    const QByteArray backend = qgetenv("QT_MEDIA_BACKEND"),
                     ranks = qgetenv("GST_PLUGIN_FEATURE_RANK");
    qunsetenv("QT_MEDIA_BACKEND"), qunsetenv("GST_PLUGIN_FEATURE_RANK");
    PrepareAudioEnvironment(probe);
    EXPECT_EQ(qgetenv("QT_MEDIA_BACKEND"), "gstreamer");
    EXPECT_FALSE(qEnvironmentVariableIsSet("GST_PLUGIN_FEATURE_RANK"));
    qputenv("QT_MEDIA_BACKEND", "ffmpeg"), qputenv("GST_PLUGIN_FEATURE_RANK", "x:NONE");
    PrepareAudioEnvironment({dir.path(), {}, false});
    PrepareAudioEnvironment({dir.path(), {}, false});
    EXPECT_EQ(qgetenv("QT_MEDIA_BACKEND"), "ffmpeg");
    EXPECT_EQ(qgetenv("GST_PLUGIN_FEATURE_RANK"), "fakeaudiosink:MAX,x:NONE");
    for (const auto& [name, value] :
         {std::pair{"QT_MEDIA_BACKEND", backend}, {"GST_PLUGIN_FEATURE_RANK", ranks}}) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
}

}  // namespace
}  // namespace leafsong
