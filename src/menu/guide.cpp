#include "menu/guide.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "common/path_utils.h"
#include "core/contact.h"
#include "core/texts.h"

namespace leafsong {

namespace {

constexpr char kGuideTexts[] = "leafsong::Guide";

// One line below is split only to fit the page; the pieces are one line of the guide.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
constexpr const char16_t* kGuide[] = {
    u"Leafsong(Leafsong)简介：",
    u"一、软件功能介绍:",
    u"  1、浏览指定文件夹内的jpg、bmp、gif格式图片；",
    u"  2、可以设定多种格式的背景音乐；",
    u"  "
    u"3、图片循环模式时，则从头至尾或由尾至头循环翻页；非图片循环模式时，向右翻页至首张图片即停止，"
    u"向左翻页至末张图片即停止；",
    u"  4、音乐循环模式指背景音乐重复播放；",
    u"  5、支持从操作系统拖曳文件，Leafsong只接收其中有效的图片或音乐文件。",
    u"",
    u"二、鼠标功能介绍:",
    u"  1、单击鼠标右键，由“选择图片文件夹”、“选择背景音乐”分别选择图片所在文件夹及背景音乐；",
    u"  2、单击鼠标左键，获取焦点；",
    u"  3、在图片左半幅双击鼠标左键，打开或关闭自动向右翻页功能；",
    u"  4、在图片右半幅双击鼠标左键，打开或关闭自动向左翻页功能。",
    u"",
    u"三、键盘功能介绍:",
    u"  1、Esc键，退出；",
    u"  2、左、右方向箭头键(→←)，左、右单页翻动(非图片循环模式时，至末张、首张图片时不能翻动)；",
    u"  3、F1键，弹出帮助；",
    u"  4、其余键，打开或关闭自动翻页功能(同“在图片右半幅双击鼠标左键”)。",
    u"",
    u"四、图片推荐:",
    u"  1、图片以横式图片且横竖比例接近3:2为宜，否则浏览时有变形(对原图片无影响)。",
    u"",
    u"五、软件信息:",
    u"  Publisher: Harrowfen(Harrowfen)",
};
// NOLINTEND(bugprone-suspicious-missing-comma)

constexpr char16_t kNoEditorTitle[] = u"未找到文本编辑器";
// %1 is the guide's full path.
constexpr char16_t kNoEditorText[] =
    u"没有找到可以打开帮助的文本编辑器。\n\n"
    u"请用环境变量 LEAFSONG_EDITOR 指定一个编辑器（例如 LEAFSONG_EDITOR=\"gedit\"），"
    u"或者安装 xdg-utils。\n\n"
    u"帮助文件在：\n%1\n（退出相册时删除）";

}  // namespace

QByteArray ReadmeText() {
    QString text;
    for (const char16_t* line : kGuide) {
        text += UserText(kGuideTexts, line) + QStringLiteral("\r\n");
    }
    for (const ContactLine& c : kContactLines) {
        text += QStringLiteral("  ") + QString::fromUtf16(c.label) + QStringLiteral(": ") +
                QString::fromUtf16(c.value) + QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n");
    return text.toUtf8();
}

Guide::Guide(QString tempDir, QString programDir, EditorLauncher& editor, Dialogs& dialogs,
             std::function<QWidget*()> owner)
    : tempDir_(std::move(tempDir)),
      programDir_(std::move(programDir)),
      editor_(editor),
      dialogs_(dialogs),
      owner_(std::move(owner)) {}

QString Guide::file() const {
    return JoinPath(tempDir_, QString::fromLatin1(kReadmeName));
}

void Guide::ShowReadme() {
    // Written whole under one name each time: an editor that has the last copy open keeps it.
    QSaveFile out(file());
    const QByteArray bytes = ReadmeText();
    // Private whatever the umask, like everything in the folder.
    const bool ok = out.open(QIODevice::WriteOnly) &&
                    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                    out.write(bytes) == bytes.size() && out.commit();
    written_ = written_ || ok;
    QDir::setCurrent(programDir_);
    // The file stays until the album ends, so the user can open it from the notice's path.
    if (ok && !editor_.Open(file())) {
        dialogs_.Inform(owner_ ? owner_() : nullptr, UserText(kGuideTexts, kNoEditorTitle),
                        UserText(kGuideTexts, kNoEditorText).arg(file()));
    }
}

void Guide::Remove() {
    if (written_) {
        QFile::remove(file());
        written_ = false;
    }
}

}  // namespace leafsong
