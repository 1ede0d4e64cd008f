<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutForm</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;访问官方网站&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;Visit the official website&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;发送电子邮件&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;Send an e-mail&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>BookmarkAddForm</name>
    <message>
        <source>添加书签</source>
        <translation>Add Bookmark</translation>
    </message>
    <message>
        <source>书签标题</source>
        <translation>Bookmark title</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerForm</name>
    <message>
        <source>书签管理</source>
        <translation>Manage Bookmarks</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>全部删除</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CleaningRulesDialog</name>
    <message>
        <source>净化规则</source>
        <translation>Cleaning Rules</translation>
    </message>
    <message>
        <source>启用</source>
        <translation>On</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>替换为</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>正则</source>
        <translation>Regex</translation>
    </message>
    <message>
        <source>只用于本书</source>
        <translation>This book only</translation>
    </message>
    <message>
        <source>本书中</source>
        <translation>In this book</translation>
    </message>
    <message>
        <source>添加规则</source>
        <translation>Add Rule</translation>
    </message>
    <message>
        <source>删除规则</source>
        <translation>Remove Rule</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>新规则</source>
        <translation>New rule</translation>
    </message>
    <message>
        <source>导入净化规则</source>
        <translation>Import Cleaning Rules</translation>
    </message>
    <message>
        <source>净化规则 (*.xml);;全部文件(*)</source>
        <translation>Cleaning rules (*.xml);;All files (*)</translation>
    </message>
    <message>
        <source>导入了 %1 条规则。</source>
        <translation>Imported rules: %1.</translation>
    </message>
    <message>
        <source>导出净化规则</source>
        <translation>Export Cleaning Rules</translation>
    </message>
    <message>
        <source>净化规则 (*.xml)</source>
        <translation>Cleaning rules (*.xml)</translation>
    </message>
    <message>
        <source>无法保存到 %1。</source>
        <translation>Could not save to %1.</translation>
    </message>
    <message>
        <source>无效</source>
        <translation>invalid</translation>
    </message>
    <message>
        <source>超出上限</source>
        <translation>past the limit</translation>
    </message>
    <message>
        <source>规则“%1”的正则表达式无效：%2（第 %3 个字符）</source>
        <translation>The regular expression of the rule “%1” is not valid: %2 (at character %3)</translation>
    </message>
</context>
<context>
    <name>LoadProgressBar</name>
    <message>
        <source>正在载入 %p%</source>
        <translation>Loading %p%</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>澄溪文本阅读器</source>
        <translation>Quirelle Text Reader</translation>
    </message>
    <message>
        <source>阅读</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>书签</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>历史</source>
        <translation>History</translation>
    </message>
    <message>
        <source>编码</source>
        <translation>Encoding</translation>
    </message>
    <message>
        <source>滚屏间隔(毫秒)</source>
        <translation>Scroll interval (ms)</translation>
    </message>
    <message>
        <source>翻页间隔(秒)</source>
        <translation>Page interval (s)</translation>
    </message>
    <message>
        <source>停止滚动</source>
        <translation>Stop scrolling</translation>
    </message>
    <message>
        <source>自动滚屏</source>
        <translation>Scroll by lines</translation>
    </message>
    <message>
        <source>自动翻页</source>
        <translation>Turn pages</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>界面字体</source>
        <translation>Interface Font</translation>
    </message>
    <message>
        <source>文本字体</source>
        <translation>Text Font</translation>
    </message>
    <message>
        <source>文本颜色</source>
        <translation>Text Color</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Background Color</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>查找前一个</source>
        <translation>Find Previous</translation>
    </message>
    <message>
        <source>查找下一个</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>区分大小写</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>正则表达式</source>
        <translation>Regular expression</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>版权所有 (C) 2012 澄溪软件工作室</source>
        <translation>Copyright (C) 2012 Quirelle Software Studio</translation>
    </message>
    <message>
        <source>适用系统：</source>
        <translation>Platform: </translation>
    </message>
    <message>
        <source>授权方式：免费软件</source>
        <translation>License: freeware</translation>
    </message>
    <message>
        <source>更新日期：</source>
        <translation>Release date: </translation>
    </message>
    <message>
        <source>官方网站：</source>
        <translation>Website: </translation>
    </message>
    <message>
        <source>电子邮箱：</source>
        <translation>E-mail: </translation>
    </message>
    <message>
        <source>选择文本文件</source>
        <translation>Choose a Text File</translation>
    </message>
    <message>
        <source>澄溪文本阅读器</source>
        <translation>Quirelle Text Reader</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>文件不存在：</source>
        <translation>File not found: </translation>
    </message>
    <message>
        <source>ANSI 编码</source>
        <translation>ANSI Encoding</translation>
    </message>
    <message>
        <source>UTF-8 编码</source>
        <translation>UTF-8 Encoding</translation>
    </message>
    <message>
        <source>清除文件列表</source>
        <translation>Clear File List</translation>
    </message>
    <message>
        <source>是否清除文件列表？</source>
        <translation>Clear the file list?</translation>
    </message>
    <message>
        <source>是否删除标签：</source>
        <translation>Delete the bookmark: </translation>
    </message>
    <message>
        <source>是否删除全部标签？</source>
        <translation>Delete all bookmarks?</translation>
    </message>
    <message>
        <source>删除标签</source>
        <translation>Delete Bookmark</translation>
    </message>
    <message>
        <source>书签管理</source>
        <translation>Manage Bookmarks</translation>
    </message>
    <message>
        <source>添加书签</source>
        <translation>Add Bookmark</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>选择全部</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>在谷歌搜索</source>
        <translation>Search with Google</translation>
    </message>
    <message>
        <source>在百度搜索</source>
        <translation>Search with Baidu</translation>
    </message>
    <message>
        <source>更新提示</source>
        <translation>Update Available</translation>
    </message>
    <message>
        <source>有新版本是否查看？</source>
        <translation>A newer version is available. Do you want to see it?</translation>
    </message>
    <message>
        <source>无法保存到 %1。
本次的更改在关闭程序后会丢失。</source>
        <translation>Could not save to %1.
Changes made in this session will be lost when the program closes.</translation>
    </message>
    <message>
        <source>%1 未能完整读取。
原来的文件已保存为 %2。</source>
        <translation>%1 could not be read completely.
The original file has been kept as %2.</translation>
    </message>
    <message>
        <source>行距</source>
        <translation>Line spacing</translation>
    </message>
    <message>
        <source>行与行的距离，以字体本身的行高为 100%</source>
        <translation>Distance between lines; 100% is the font&apos;s own line height</translation>
    </message>
    <message>
        <source>段距</source>
        <translation>Paragraph spacing</translation>
    </message>
    <message>
        <source>每段之后多留的空白，单位为像素</source>
        <translation>Extra space after each paragraph, in pixels</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>Margins</translation>
    </message>
    <message>
        <source>文本左右两侧的空白，单位为像素</source>
        <translation>Space left and right of the text, in pixels</translation>
    </message>
    <message>
        <source>最大宽度</source>
        <translation>Maximum width</translation>
    </message>
    <message>
        <source>不限</source>
        <translation>None</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>文本文件(*.txt);;全部文件(*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>打开文本文件</source>
        <translation>Open a text file</translation>
    </message>
    <message>
        <source>书签；在阅读位置添加书签</source>
        <translation>Bookmarks; add a bookmark at the reading position</translation>
    </message>
    <message>
        <source>要查找的文字</source>
        <translation>Text to find</translation>
    </message>
    <message>
        <source>查找下一个</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>查找前一个</source>
        <translation>Find Previous</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <extracomment>a bookmark&apos;s title, then the name of its file</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>已到达文首</source>
        <translation>Reached the beginning</translation>
    </message>
    <message>
        <source>已到达文末</source>
        <translation>Reached the end</translation>
    </message>
    <message>
        <source>https://www.google.com/search?q=</source>
        <translation>https://www.google.com/search?q=</translation>
    </message>
    <message>
        <source>https://www.baidu.com/s?wd=</source>
        <translation>https://www.baidu.com/s?wd=</translation>
    </message>
    <message>
        <source>GB18030 编码</source>
        <translation>GB18030 Encoding</translation>
    </message>
    <message>
        <source>Big5 编码</source>
        <translation>Big5 Encoding</translation>
    </message>
    <message>
        <source>UTF-16 LE 编码</source>
        <translation>UTF-16 LE Encoding</translation>
    </message>
    <message>
        <source>UTF-16 BE 编码</source>
        <translation>UTF-16 BE Encoding</translation>
    </message>
    <message>
        <source>ANSI（%1）</source>
        <translation>ANSI (%1)</translation>
    </message>
    <message>
        <source>繁体中文（Big5）</source>
        <translation>Big5</translation>
    </message>
    <message>
        <source>简体中文（GB18030）</source>
        <translation>GB18030</translation>
    </message>
    <message>
        <source>无法读取文件：</source>
        <translation>Cannot read the file: </translation>
    </message>
    <message>
        <source>只显示文本，全屏阅读；Esc 退出</source>
        <translation>Show only the text, full screen; Esc leaves</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Chapters</translation>
    </message>
    <message>
        <source>未找到章节</source>
        <translation>No chapters found</translation>
    </message>
    <message>
        <source>上一章</source>
        <translation>Previous Chapter</translation>
    </message>
    <message>
        <source>下一章</source>
        <translation>Next Chapter</translation>
    </message>
    <message>
        <source>正在载入，载入后接着查找…</source>
        <translation>Still loading; the search goes on once the text is in…</translation>
    </message>
    <message>
        <source>只有网址的行</source>
        <translation>Lines with nothing but a web address</translation>
    </message>
    <message>
        <source>HTML 标签</source>
        <translation>HTML tags</translation>
    </message>
    <message>
        <source>HTML 空格</source>
        <translation>HTML spaces</translation>
    </message>
    <message>
        <source>HTML 全角空格</source>
        <translation>HTML full-width spaces</translation>
    </message>
    <message>
        <source>HTML 小于号</source>
        <translation>HTML less-than signs</translation>
    </message>
    <message>
        <source>HTML 大于号</source>
        <translation>HTML greater-than signs</translation>
    </message>
    <message>
        <source>HTML 引号</source>
        <translation>HTML quotation marks</translation>
    </message>
    <message>
        <source>HTML 和号</source>
        <translation>HTML ampersands</translation>
    </message>
    <message>
        <source>下载声明</source>
        <translation>Download notices</translation>
    </message>
    <message>
        <source>更新时间与字数</source>
        <translation>Update times and word counts</translation>
    </message>
    <message>
        <source>横线标语</source>
        <translation>Banners between dashes</translation>
    </message>
    <message>
        <source>网站宣传行</source>
        <translation>Lines advertising a site</translation>
    </message>
    <message>
        <source>夹杂符号的网站名</source>
        <translation>Site names broken up by symbols</translation>
    </message>
    <message>
        <source>匹配所需的运算超出了上限</source>
        <translation>a match needs more work than allowed</translation>
    </message>
    <message>
        <source>无法匹配</source>
        <translation>cannot be matched</translation>
    </message>
    <message>
        <source>“%1”：%2</source>
        <translation>“%1”: %2</translation>
    </message>
    <message>
        <source>净化规则</source>
        <translation>Cleaning Rules</translation>
    </message>
    <message>
        <source>以下规则无法使用，已停用：
</source>
        <translation>These rules cannot be used and were switched off:
</translation>
    </message>
    <message>
        <source>段落整理</source>
        <translation>Tidy paragraphs</translation>
    </message>
    <message>
        <source>本书：去掉段落之间的空行，段首缩进两个全角空格，接上被网站断开的行</source>
        <translation>This book: remove blank lines between paragraphs, indent each paragraph with two full-width spaces, join lines a site broke</translation>
    </message>
    <message>
        <source>新书也整理</source>
        <translation>Also for new books</translation>
    </message>
    <message>
        <source>第一次打开的书也整理段落</source>
        <translation>Tidy the paragraphs of books opened for the first time too</translation>
    </message>
    <message>
        <source>净化规则…</source>
        <translation>Cleaning Rules…</translation>
    </message>
    <message>
        <source>去掉水印、网址和网页残留；文件本身不会被改动</source>
        <translation>Remove watermarks, web addresses and web page leftovers; the file itself is never changed</translation>
    </message>
    <message>
        <source>同步</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>服务器上的记录来自更新的版本</source>
        <translation>the record on the server comes from a newer version</translation>
    </message>
    <message>
        <source>%1 秒内没有回答</source>
        <translation>no answer within %1 s</translation>
    </message>
    <message>
        <source>回答过大</source>
        <translation>the answer is too large</translation>
    </message>
    <message>
        <source>连接成功</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>另一台电脑上的位置</source>
        <translation>Position on another computer</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test Connection</translation>
    </message>
    <message>
        <source>立即同步</source>
        <translation>Sync Now</translation>
    </message>
    <message>
        <source>WebDAV 地址</source>
        <translation>WebDAV address</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>正在连接…</source>
        <translation>Connecting…</translation>
    </message>
    <message>
        <source>连接失败：%1</source>
        <translation>Connection failed: %1</translation>
    </message>
    <message>
        <source>没有可用的密钥环：密码只保存在内存中，关闭阅读器后需要重新输入。</source>
        <translation>No keyring is available: the password is kept in memory only and must be entered again after the reader is closed.</translation>
    </message>
    <message>
        <source>密码保存在系统密钥环中。</source>
        <translation>The password is kept in the system&apos;s keyring.</translation>
    </message>
    <message>
        <source>尚未同步</source>
        <translation>Not synced yet</translation>
    </message>
    <message>
        <source>未设置同步地址</source>
        <translation>No sync address set</translation>
    </message>
    <message>
        <source>同步成功</source>
        <translation>in step</translation>
    </message>
    <message>
        <source>无法连接服务器（%1）</source>
        <translation>cannot reach the server (%1)</translation>
    </message>
    <message>
        <source>服务器繁忙（%1）</source>
        <translation>the server is busy (%1)</translation>
    </message>
    <message>
        <source>用户名或密码不对（%1）</source>
        <translation>wrong user name or password (%1)</translation>
    </message>
    <message>
        <source>服务器拒绝（%1）</source>
        <translation>refused by the server (%1)</translation>
    </message>
    <message>
        <source>上次同步：%1，%2</source>
        <extracomment>when the last sync ran, then how it went</extracomment>
        <translation>Last sync: %1, %2</translation>
    </message>
    <message>
        <source>；等待上传的书：%1</source>
        <translation>; books waiting to be uploaded: %1</translation>
    </message>
    <message>
        <source>；%1 秒后重试</source>
        <translation>; next try in %1 s</translation>
    </message>
    <message>
        <source>目录规则…</source>
        <translation>Chapter rule…</translation>
    </message>
    <message>
        <source>选择这本书找章节的规则，或写一个自己的</source>
        <translation>Choose the rule this book&apos;s chapters are found by, or write your own</translation>
    </message>
    <message>
        <source>删除此章</source>
        <translation>Remove this chapter</translation>
    </message>
    <message>
        <source>目录规则无法使用：%1</source>
        <translation>The chapter rule cannot be used: %1</translation>
    </message>
    <message>
        <source>表达式太慢，在第 %1 行停止</source>
        <translation>The expression is too slow; stopped at line %1</translation>
    </message>
    <message>
        <source>表达式在第 %1 行超出了匹配的限度（回溯过多），已停止</source>
        <translation>The expression went past the bound of a match at line %1 (too much backtracking); stopped</translation>
    </message>
    <message>
        <source>表达式在第 %1 行无法匹配</source>
        <translation>The expression cannot be matched at line %1</translation>
    </message>
    <message>
        <source>自动（最合适的一种）</source>
        <translation>Automatic (the best fit)</translation>
    </message>
    <message>
        <source>第…章、回、卷</source>
        <translation>Ordinals (第…章, 回, 卷)</translation>
    </message>
    <message>
        <source>正文 标题</source>
        <translation>正文 &lt;title&gt;</translation>
    </message>
    <message>
        <source>编号的行（1. 标题）</source>
        <translation>Numbered lines (1. title)</translation>
    </message>
    <message>
        <source>书名加编号（书名1、书名(2)）</source>
        <translation>Book name and number (Name1, Name(2))</translation>
    </message>
    <message>
        <source>一、二、三 小节</source>
        <translation>Sections 一、二、三</translation>
    </message>
    <message>
        <source>自定义正则表达式</source>
        <translation>Regular expression of your own</translation>
    </message>
    <message>
        <source>表达式是空的</source>
        <translation>The expression is empty</translation>
    </message>
    <message>
        <source>表达式无效：%1（第 %2 个字符）</source>
        <translation>The expression is not valid: %1 (character %2)</translation>
    </message>
    <message>
        <source>目录规则</source>
        <translation>Chapter rule</translation>
    </message>
    <message>
        <source>这本书的章节按哪种规则找出：</source>
        <translation>Find this book&apos;s chapters by:</translation>
    </message>
    <message>
        <source>规则</source>
        <translation>Rule</translation>
    </message>
    <message>
        <source>章节数</source>
        <translation>Chapters</translation>
    </message>
    <message>
        <source>最长的一章</source>
        <translation>Longest chapter</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>正则表达式，与标题所在的一行相配，例如 ^卷[一二三四五六七八九十]+</source>
        <translation>A regular expression matching a heading&apos;s line, for example ^卷[一二三四五六七八九十]+</translation>
    </message>
    <message>
        <source>无法使用</source>
        <translation>Unusable</translation>
    </message>
    <message>
        <source>%1 字（%2）</source>
        <translation>%1 characters (%2)</translation>
    </message>
    <message>
        <source>请写一个正则表达式。</source>
        <translation>Write a regular expression.</translation>
    </message>
    <message>
        <source>正在计算……</source>
        <translation>Counting…</translation>
    </message>
    <message>
        <source>正则表达式有误：%1（第 %2 个字符）</source>
        <translation>Not a valid regular expression: %1 (at character %2)</translation>
    </message>
    <message>
        <source>表达式过于复杂，已停止查找；已找到 %1 处</source>
        <translation>The expression is too costly; the search stopped after %1 matches</translation>
    </message>
    <message>
        <source>正在查找…已找到 %1 处</source>
        <translation>Searching… %1 matches so far</translation>
    </message>
    <message>
        <source>共 %1 处</source>
        <translation>%1 matches</translation>
    </message>
    <message>
        <source>，仅显示前 %1 处</source>
        <translation>, only the first %1 listed</translation>
    </message>
    <message>
        <source>搜索结果</source>
        <translation>Search Results</translation>
    </message>
    <message>
        <source>不转换</source>
        <translation>As in the file</translation>
    </message>
    <message>
        <source>转为简体</source>
        <translation>Simplified</translation>
    </message>
    <message>
        <source>转为繁体</source>
        <translation>Traditional</translation>
    </message>
    <message>
        <source>转为繁体（台湾）</source>
        <translation>Traditional (Taiwan)</translation>
    </message>
    <message>
        <source>转为繁体（台湾常用词）</source>
        <translation>Traditional (Taiwan, local words)</translation>
    </message>
    <message>
        <source>转为繁体（香港）</source>
        <translation>Traditional (Hong Kong)</translation>
    </message>
    <message>
        <source>简繁：</source>
        <translation>Characters:</translation>
    </message>
    <message>
        <source>新书：</source>
        <translation>New books:</translation>
    </message>
    <message>
        <source>简繁</source>
        <translation>Simp./Trad.</translation>
    </message>
    <message>
        <source>本书以简体或繁体显示</source>
        <translation>Show this book in simplified or traditional characters</translation>
    </message>
    <message>
        <source>简繁转换</source>
        <translation>Chinese Characters</translation>
    </message>
    <message>
        <source>无法载入简繁转换的词典，文本按原样显示：
</source>
        <translation>The dictionaries for converting between simplified and traditional characters could not be loaded; the text is shown as the file has it:
</translation>
    </message>
    <message>
        <source>本书以简体或繁体显示：按词语转换，文件本身不会被改动</source>
        <translation>Shows this book in simplified or traditional characters, converted phrase by phrase; the file itself is not changed</translation>
    </message>
    <message>
        <source>第一次打开的书以简体或繁体显示</source>
        <translation>Books opened for the first time are shown in these characters</translation>
    </message>
    <message>
        <source>这似乎不是文本文件，仍要打开吗？</source>
        <translation>This does not seem to be a text file. Open it anyway?</translation>
    </message>
    <message>
        <source>文件是空的：</source>
        <translation>The file is empty: </translation>
    </message>
    <message>
        <source>设为章节</source>
        <translation>Make a chapter</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>日间</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>夜间</source>
        <translation>Night</translation>
    </message>
    <message>
        <source>羊皮纸</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>文本栏的最大宽度，单位为像素；窗口更宽时文本居中；一行至少容纳 20 个字</source>
        <translation>Greatest width of the text column, in pixels; in a wider window the text is centred; a line holds at least 20 characters</translation>
    </message>
    <message>
        <source>第 %1/%2 章</source>
        <translation>Chapter %1/%2</translation>
    </message>
    <message>
        <source>自动滚动；开始或暂停</source>
        <translation>Automatic scrolling; start or pause</translation>
    </message>
    <message>
        <source>%1 快一些，%2 慢一些</source>
        <translation>%1 faster, %2 slower</translation>
    </message>
    <message>
        <source>文本字体；Ctrl+= 放大，Ctrl+- 缩小</source>
        <translation>Text font; Ctrl+= larger, Ctrl+- smaller</translation>
    </message>
    <message>
        <source>书架…</source>
        <translation>Bookshelf…</translation>
    </message>
    <message>
        <source>书架</source>
        <translation>Bookshelf</translation>
    </message>
    <message>
        <source>启动时打开上次读的书</source>
        <translation>Open the book read last at start</translation>
    </message>
    <message>
        <source>筛选书名</source>
        <translation>Filter by title</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>从书架移除</source>
        <translation>Remove from Shelf</translation>
    </message>
    <message>
        <source>在文件管理器中显示</source>
        <translation>Show in File Manager</translation>
    </message>
    <message>
        <source>已移到 %1</source>
        <translation>Moved to %1</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>书名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>上次阅读</source>
        <translation>Last read</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>读过的每一本书</source>
        <translation>Every book read</translation>
    </message>
</context>
</TS>
