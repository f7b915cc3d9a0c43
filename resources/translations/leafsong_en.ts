<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>leafsong::AlbumMenu</name>
    <message>
        <source>相册(&amp;)</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>选择图片文件夹(&amp;P)</source>
        <translation>Choose picture &amp;folder...</translation>
    </message>
    <message>
        <source>选择背景音乐(&amp;M)</source>
        <translation>Choose background &amp;music...</translation>
    </message>
    <message>
        <source>图片循环模式(&amp;L)</source>
        <translation>Picture &amp;loop mode</translation>
    </message>
    <message>
        <source>音乐循环模式(&amp;R)</source>
        <translation>Music &amp;repeat mode</translation>
    </message>
    <message>
        <source>显示页序(&amp;F)</source>
        <translation>Show page &amp;numbers</translation>
    </message>
    <message>
        <source>保持比例(&amp;K)</source>
        <translation>Keep &amp;proportions</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>退出(&amp;x)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>选择图片文件夹：</source>
        <translation>Choose the picture folder:</translation>
    </message>
</context>
<context>
    <name>leafsong::AlbumWindow</name>
    <message>
        <source>Leafsong 相册</source>
        <translation>Leafsong Album</translation>
    </message>
</context>
<context>
    <name>leafsong::Guide</name>
    <message>
        <source>Leafsong(Leafsong)简介：</source>
        <translation>About Leafsong:</translation>
    </message>
    <message>
        <source>一、软件功能介绍:</source>
        <translation>1. What the program does:</translation>
    </message>
    <message>
        <source>  1、浏览指定文件夹内的jpg、bmp、gif格式图片；</source>
        <translation>  1) Shows the jpg, bmp and gif pictures of the folder you choose;</translation>
    </message>
    <message>
        <source>  2、可以设定多种格式的背景音乐；</source>
        <translation>  2) Plays background music in many formats;</translation>
    </message>
    <message>
        <source>  3、图片循环模式时，则从头至尾或由尾至头循环翻页；非图片循环模式时，向右翻页至首张图片即停止，向左翻页至末张图片即停止；</source>
        <translation>  3) In picture loop mode the pages turn round from the last picture to the first, or from the first to the last; out of it, turning right stops at the first picture and turning left stops at the last;</translation>
    </message>
    <message>
        <source>  4、音乐循环模式指背景音乐重复播放；</source>
        <translation>  4) Music repeat mode plays the background music over and over;</translation>
    </message>
    <message>
        <source>  5、支持从操作系统拖曳文件，Leafsong只接收其中有效的图片或音乐文件。</source>
        <translation>  5) Files can be dragged onto the album from the desktop; Leafsong takes only the pictures and music files among them.</translation>
    </message>
    <message>
        <source>二、鼠标功能介绍:</source>
        <translation>2. The mouse:</translation>
    </message>
    <message>
        <source>  1、单击鼠标右键，由“选择图片文件夹”、“选择背景音乐”分别选择图片所在文件夹及背景音乐；</source>
        <translation>  1) Right click, then “Choose picture folder” or “Choose background music”: chooses the folder of the pictures or the background music;</translation>
    </message>
    <message>
        <source>  2、单击鼠标左键，获取焦点；</source>
        <translation>  2) Left click: takes the keyboard focus;</translation>
    </message>
    <message>
        <source>  3、在图片左半幅双击鼠标左键，打开或关闭自动向右翻页功能；</source>
        <translation>  3) Double-click on the left half of the picture: automatic turning to the right, on or off;</translation>
    </message>
    <message>
        <source>  4、在图片右半幅双击鼠标左键，打开或关闭自动向左翻页功能。</source>
        <translation>  4) Double-click on the right half of the picture: automatic turning to the left, on or off.</translation>
    </message>
    <message>
        <source>三、键盘功能介绍:</source>
        <translation>3. The keyboard:</translation>
    </message>
    <message>
        <source>  1、Esc键，退出；</source>
        <translation>  1) Esc: quits;</translation>
    </message>
    <message>
        <source>  2、左、右方向箭头键(→←)，左、右单页翻动(非图片循环模式时，至末张、首张图片时不能翻动)；</source>
        <translation>  2) Left and right arrow keys (→←): turn one page left or right (out of picture loop mode, not past the last or the first picture);</translation>
    </message>
    <message>
        <source>  3、F1键，弹出帮助；</source>
        <translation>  3) F1: opens this help;</translation>
    </message>
    <message>
        <source>  4、其余键，打开或关闭自动翻页功能(同“在图片右半幅双击鼠标左键”)。</source>
        <translation>  4) Any other key: automatic turning on or off (as “Double-click on the right half of the picture”).</translation>
    </message>
    <message>
        <source>四、图片推荐:</source>
        <translation>4. Pictures:</translation>
    </message>
    <message>
        <source>  1、图片以横式图片且横竖比例接近3:2为宜，否则浏览时有变形(对原图片无影响)。</source>
        <translation>  1) Landscape pictures with a width to height ratio near 3:2 look best; others are stretched to fit (the picture files are not changed).</translation>
    </message>
    <message>
        <source>五、软件信息:</source>
        <translation>5. About the program:</translation>
    </message>
    <message>
        <source>未找到文本编辑器</source>
        <translation>No text editor found</translation>
    </message>
    <message>
        <source>没有找到可以打开帮助的文本编辑器。

请用环境变量 LEAFSONG_EDITOR 指定一个编辑器（例如 LEAFSONG_EDITOR=&quot;gedit&quot;），或者安装 xdg-utils。

帮助文件在：
%1
（退出相册时删除）</source>
        <translation>No text editor was found to open the help.

Choose one with the environment variable LEAFSONG_EDITOR (for example LEAFSONG_EDITOR=&quot;gedit&quot;), or install xdg-utils.

The help file is:
%1
(deleted when the album ends)</translation>
    </message>
</context>
<context>
    <name>leafsong::InfoPage</name>
    <message>
        <source>状态： 无图片加载</source>
        <translation>Status: no picture loaded</translation>
    </message>
    <message>
        <source>恭贺： Happy Birthday To You!</source>
        <translation>Greetings: Happy Birthday To You!</translation>
    </message>
    <message>
        <source>软件名称： Leafsong</source>
        <translation>Program: Leafsong</translation>
    </message>
    <message>
        <source>Publisher： Harrowfen (Harrowfen)</source>
        <translation>Publisher: Harrowfen (Harrowfen)</translation>
    </message>
    <message>
        <source>： </source>
        <translation>: </translation>
    </message>
</context>
<context>
    <name>leafsong::MusicChoice</name>
    <message>
        <source>选择背景音乐</source>
        <translation>Choose the background music</translation>
    </message>
    <message>
        <source>WaveAudio Files (*.wav)</source>
        <translation>Wave sound (*.wav)</translation>
    </message>
    <message>
        <source>Sequencer Files (*.mid;*.rmi;*.midi)</source>
        <translation>MIDI music (*.mid;*.rmi;*.midi)</translation>
    </message>
    <message>
        <source>CDAudio Files (*.cda)</source>
        <translation>CD audio tracks (*.cda)</translation>
    </message>
    <message>
        <source>MPEGVideo2 Files (*.wma)</source>
        <translation>Windows Media audio (*.wma)</translation>
    </message>
    <message>
        <source>MPEGVideo Files (*.mp3;*.snd)</source>
        <translation>MP3 and SND sound (*.mp3;*.snd)</translation>
    </message>
</context>
</TS>
