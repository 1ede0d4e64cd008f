<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutForm</name>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="23"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="52"/>
        <source>lblName</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="59"/>
        <source>lblCopyright</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="86"/>
        <source>lblPlatform</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="93"/>
        <source>lblLicense</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="100"/>
        <source>lblUpdateDate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="107"/>
        <source>lblSite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="114"/>
        <source>lblMail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="156"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;访问官方网站&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;造訪官方網站&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="189"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;发送电子邮件&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;傳送電子郵件&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.ui" line="204"/>
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="26"/>
        <source>澄溪文本阅读器</source>
        <translation>澄溪文字閱讀器</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="86"/>
        <source>阅读</source>
        <translation>閱讀</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="112"/>
        <source>打开</source>
        <translation>打開</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="119"/>
        <source>书签</source>
        <translation>書籤</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="133"/>
        <source>历史</source>
        <translation>歷史</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="140"/>
        <source>编码</source>
        <translation>編碼</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="167"/>
        <source>滚屏间隔(毫秒)</source>
        <translation>捲動間隔(毫秒)</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="203"/>
        <source>翻页间隔(秒)</source>
        <translation>翻頁間隔(秒)</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="265"/>
        <source>停止滚动</source>
        <translation>停止捲動</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="270"/>
        <source>自动滚屏</source>
        <translation>自動捲動</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="275"/>
        <source>自动翻页</source>
        <translation>自動翻頁</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="286"/>
        <source>显示</source>
        <translation>顯示</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="312"/>
        <source>界面字体</source>
        <translation>介面字型</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="319"/>
        <source>文本字体</source>
        <translation>文字字型</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="326"/>
        <source>文本颜色</source>
        <translation>文字顏色</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="333"/>
        <source>背景颜色</source>
        <translation>背景顏色</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="356"/>
        <source>搜索</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="385"/>
        <source>查找前一个</source>
        <translation>尋找上一個</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="392"/>
        <source>查找下一个</source>
        <translation>尋找下一個</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="405"/>
        <source>帮助</source>
        <translation>說明</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.ui" line="431"/>
        <source>关于</source>
        <translation>關於</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="25"/>
        <source>：</source>
        <translation>：</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="27"/>
        <source>版权所有 (C) 2012 澄溪软件工作室</source>
        <translation>版權所有 (C) 2012 澄溪軟體工作室</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="28"/>
        <source>适用系统：</source>
        <translation>適用系統：</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="31"/>
        <source>授权方式：免费软件</source>
        <translation>授權方式：免費軟體</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="32"/>
        <source>更新日期：</source>
        <translation>更新日期：</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="33"/>
        <source>官方网站：</source>
        <translation>官方網站：</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/AboutForm.cpp" line="34"/>
        <source>电子邮箱：</source>
        <translation>電子郵件：</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.cpp" line="97"/>
        <source>选择文本文件</source>
        <translation>選擇文字檔案</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/MainForm.cpp" line="98"/>
        <source>文本文件(*.txt);;全部文件(*.*)</source>
        <translation>文字檔案(*.txt);;所有檔案(*.*)</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/THistoryFileMenu.cpp" line="62"/>
        <location filename="../work/main/reader/src/THistoryFileMenu.cpp" line="122"/>
        <source>清除文件列表</source>
        <translation>清除檔案清單</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/THistoryFileMenu.cpp" line="123"/>
        <source>是否清除文件列表？</source>
        <translation>是否清除檔案清單？</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/TextCodecMenu.cpp" line="36"/>
        <source>ANSI 编码</source>
        <translation>ANSI 編碼</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/TextCodecMenu.cpp" line="37"/>
        <source>UTF-8 编码</source>
        <translation>UTF-8 編碼</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/TextDisplay.cpp" line="140"/>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <location filename="../work/main/reader/src/TextDisplay.cpp" line="141"/>
        <source>文件不存在：</source>
        <translation>檔案不存在：</translation>
    </message>
</context>
</TS>
