<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutForm</name>
    <message>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;访问官方网站&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;造訪官方網站&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;发送电子邮件&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body style=&quot;font-family:&apos;宋体&apos;; font-size:11pt;&quot;&gt;&lt;p style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;%1&quot;&gt;&lt;span style=&quot;font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;傳送電子郵件&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
</context>
<context>
    <name>BookmarkAddForm</name>
    <message>
        <source>添加书签</source>
        <translation>加入書籤</translation>
    </message>
    <message>
        <source>书签标题</source>
        <translation>書籤標題</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>BookmarkManagerForm</name>
    <message>
        <source>书签管理</source>
        <translation>書籤管理</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>全部删除</source>
        <translation>全部刪除</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CleaningRulesDialog</name>
    <message>
        <source>净化规则</source>
        <translation>淨化規則</translation>
    </message>
    <message>
        <source>启用</source>
        <translation>啟用</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>尋找</translation>
    </message>
    <message>
        <source>替换为</source>
        <translation>取代為</translation>
    </message>
    <message>
        <source>正则</source>
        <translation>正規</translation>
    </message>
    <message>
        <source>只用于本书</source>
        <translation>只用於本書</translation>
    </message>
    <message>
        <source>本书中</source>
        <translation>本書中</translation>
    </message>
    <message>
        <source>添加规则</source>
        <translation>加入規則</translation>
    </message>
    <message>
        <source>删除规则</source>
        <translation>刪除規則</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>匯入…</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>匯出…</translation>
    </message>
    <message>
        <source>新规则</source>
        <translation>新規則</translation>
    </message>
    <message>
        <source>导入净化规则</source>
        <translation>匯入淨化規則</translation>
    </message>
    <message>
        <source>净化规则 (*.xml);;全部文件(*)</source>
        <translation>淨化規則 (*.xml);;所有檔案(*)</translation>
    </message>
    <message>
        <source>导入了 %1 条规则。</source>
        <translation>匯入了 %1 條規則。</translation>
    </message>
    <message>
        <source>导出净化规则</source>
        <translation>匯出淨化規則</translation>
    </message>
    <message>
        <source>净化规则 (*.xml)</source>
        <translation>淨化規則 (*.xml)</translation>
    </message>
    <message>
        <source>无法保存到 %1。</source>
        <translation>無法儲存到 %1。</translation>
    </message>
    <message>
        <source>无效</source>
        <translation>無效</translation>
    </message>
    <message>
        <source>超出上限</source>
        <translation>超出上限</translation>
    </message>
    <message>
        <source>规则“%1”的正则表达式无效：%2（第 %3 个字符）</source>
        <translation>規則「%1」的正規表示式無效：%2（第 %3 個字元）</translation>
    </message>
</context>
<context>
    <name>LoadProgressBar</name>
    <message>
        <source>正在载入 %p%</source>
        <translation>正在載入 %p%</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>澄溪文本阅读器</source>
        <translation>澄溪文字閱讀器</translation>
    </message>
    <message>
        <source>阅读</source>
        <translation>閱讀</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>打開</translation>
    </message>
    <message>
        <source>书签</source>
        <translation>書籤</translation>
    </message>
    <message>
        <source>历史</source>
        <translation>歷史</translation>
    </message>
    <message>
        <source>编码</source>
        <translation>編碼</translation>
    </message>
    <message>
        <source>滚屏间隔(毫秒)</source>
        <translation>捲動間隔(毫秒)</translation>
    </message>
    <message>
        <source>翻页间隔(秒)</source>
        <translation>翻頁間隔(秒)</translation>
    </message>
    <message>
        <source>停止滚动</source>
        <translation>停止捲動</translation>
    </message>
    <message>
        <source>自动滚屏</source>
        <translation>自動捲動</translation>
    </message>
    <message>
        <source>自动翻页</source>
        <translation>自動翻頁</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>顯示</translation>
    </message>
    <message>
        <source>界面字体</source>
        <translation>介面字型</translation>
    </message>
    <message>
        <source>文本字体</source>
        <translation>文字字型</translation>
    </message>
    <message>
        <source>文本颜色</source>
        <translation>文字顏色</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>背景顏色</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>查找前一个</source>
        <translation>尋找上一個</translation>
    </message>
    <message>
        <source>查找下一个</source>
        <translation>尋找下一個</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>說明</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>区分大小写</source>
        <translation>區分大小寫</translation>
    </message>
    <message>
        <source>正则表达式</source>
        <translation>正規表示式</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>：</source>
        <translation>：</translation>
    </message>
    <message>
        <source>版权所有 (C) 2012 澄溪软件工作室</source>
        <translation>版權所有 (C) 2012 澄溪軟體工作室</translation>
    </message>
    <message>
        <source>适用系统：</source>
        <translation>適用系統：</translation>
    </message>
    <message>
        <source>授权方式：免费软件</source>
        <translation>授權方式：免費軟體</translation>
    </message>
    <message>
        <source>更新日期：</source>
        <translation>更新日期：</translation>
    </message>
    <message>
        <source>官方网站：</source>
        <translation>官方網站：</translation>
    </message>
    <message>
        <source>电子邮箱：</source>
        <translation>電子郵件：</translation>
    </message>
    <message>
        <source>选择文本文件</source>
        <translation>選擇文字檔案</translation>
    </message>
    <message>
        <source>清除文件列表</source>
        <translation>清除檔案清單</translation>
    </message>
    <message>
        <source>是否清除文件列表？</source>
        <translation>是否清除檔案清單？</translation>
    </message>
    <message>
        <source>ANSI 编码</source>
        <translation>ANSI 編碼</translation>
    </message>
    <message>
        <source>UTF-8 编码</source>
        <translation>UTF-8 編碼</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>文件不存在：</source>
        <translation>檔案不存在：</translation>
    </message>
    <message>
        <source>澄溪文本阅读器</source>
        <translation>澄溪文字閱讀器</translation>
    </message>
    <message>
        <source>是否删除标签：</source>
        <translation>是否刪除書籤：</translation>
    </message>
    <message>
        <source>是否删除全部标签？</source>
        <translation>是否刪除全部書籤？</translation>
    </message>
    <message>
        <source>删除标签</source>
        <translation>刪除書籤</translation>
    </message>
    <message>
        <source>书签管理</source>
        <translation>書籤管理</translation>
    </message>
    <message>
        <source>添加书签</source>
        <translation>加入書籤</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>选择全部</source>
        <translation>全選</translation>
    </message>
    <message>
        <source>在谷歌搜索</source>
        <translation>在 Google 搜尋</translation>
    </message>
    <message>
        <source>在百度搜索</source>
        <translation>在百度搜尋</translation>
    </message>
    <message>
        <source>更新提示</source>
        <translation>更新提示</translation>
    </message>
    <message>
        <source>有新版本是否查看？</source>
        <translation>有新版本，是否查看？</translation>
    </message>
    <message>
        <source>无法保存到 %1。
本次的更改在关闭程序后会丢失。</source>
        <translation>無法儲存到 %1。
本次的變更在關閉程式後會遺失。</translation>
    </message>
    <message>
        <source>%1 未能完整读取。
原来的文件已保存为 %2。</source>
        <translation>%1 未能完整讀取。
原來的檔案已保存為 %2。</translation>
    </message>
    <message>
        <source>行距</source>
        <translation>行距</translation>
    </message>
    <message>
        <source>行与行的距离，以字体本身的行高为 100%</source>
        <translation>行與行的距離，以字型本身的行高為 100%</translation>
    </message>
    <message>
        <source>段距</source>
        <translation>段距</translation>
    </message>
    <message>
        <source>每段之后多留的空白，单位为像素</source>
        <translation>每段之後多留的空白，單位為像素</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>邊距</translation>
    </message>
    <message>
        <source>文本左右两侧的空白，单位为像素</source>
        <translation>文字左右兩側的空白，單位為像素</translation>
    </message>
    <message>
        <source>最大宽度</source>
        <translation>最大寬度</translation>
    </message>
    <message>
        <source>不限</source>
        <translation>不限</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>全螢幕</translation>
    </message>
    <message>
        <source>文本文件(*.txt);;全部文件(*)</source>
        <translation>文字檔案(*.txt);;所有檔案(*)</translation>
    </message>
    <message>
        <source>打开文本文件</source>
        <translation>打開文字檔案</translation>
    </message>
    <message>
        <source>书签；在阅读位置添加书签</source>
        <translation>書籤；在閱讀位置加入書籤</translation>
    </message>
    <message>
        <source>要查找的文字</source>
        <translation>要尋找的文字</translation>
    </message>
    <message>
        <source>查找下一个</source>
        <translation>尋找下一個</translation>
    </message>
    <message>
        <source>查找前一个</source>
        <translation>尋找上一個</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <extracomment>a bookmark&apos;s title, then the name of its file</extracomment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>已到达文首</source>
        <translation>已到達文首</translation>
    </message>
    <message>
        <source>已到达文末</source>
        <translation>已到達文末</translation>
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
        <translation>GB18030 編碼</translation>
    </message>
    <message>
        <source>Big5 编码</source>
        <translation>Big5 編碼</translation>
    </message>
    <message>
        <source>UTF-16 LE 编码</source>
        <translation>UTF-16 LE 編碼</translation>
    </message>
    <message>
        <source>UTF-16 BE 编码</source>
        <translation>UTF-16 BE 編碼</translation>
    </message>
    <message>
        <source>ANSI（%1）</source>
        <translation>ANSI（%1）</translation>
    </message>
    <message>
        <source>繁体中文（Big5）</source>
        <translation>繁體中文（Big5）</translation>
    </message>
    <message>
        <source>简体中文（GB18030）</source>
        <translation>簡體中文（GB18030）</translation>
    </message>
    <message>
        <source>无法读取文件：</source>
        <translation>無法讀取檔案：</translation>
    </message>
    <message>
        <source>只显示文本，全屏阅读；Esc 退出</source>
        <translation>只顯示文字，全螢幕閱讀；Esc 離開</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>目錄</translation>
    </message>
    <message>
        <source>未找到章节</source>
        <translation>未找到章節</translation>
    </message>
    <message>
        <source>上一章</source>
        <translation>上一章</translation>
    </message>
    <message>
        <source>下一章</source>
        <translation>下一章</translation>
    </message>
    <message>
        <source>正在载入，载入后接着查找…</source>
        <translation>正在載入，載入後接著尋找…</translation>
    </message>
    <message>
        <source>只有网址的行</source>
        <translation>只有網址的行</translation>
    </message>
    <message>
        <source>HTML 标签</source>
        <translation>HTML 標籤</translation>
    </message>
    <message>
        <source>HTML 空格</source>
        <translation>HTML 空格</translation>
    </message>
    <message>
        <source>HTML 全角空格</source>
        <translation>HTML 全形空格</translation>
    </message>
    <message>
        <source>HTML 小于号</source>
        <translation>HTML 小於號</translation>
    </message>
    <message>
        <source>HTML 大于号</source>
        <translation>HTML 大於號</translation>
    </message>
    <message>
        <source>HTML 引号</source>
        <translation>HTML 引號</translation>
    </message>
    <message>
        <source>HTML 和号</source>
        <translation>HTML 和號</translation>
    </message>
    <message>
        <source>下载声明</source>
        <translation>下載聲明</translation>
    </message>
    <message>
        <source>更新时间与字数</source>
        <translation>更新時間與字數</translation>
    </message>
    <message>
        <source>横线标语</source>
        <translation>橫線標語</translation>
    </message>
    <message>
        <source>网站宣传行</source>
        <translation>網站宣傳行</translation>
    </message>
    <message>
        <source>夹杂符号的网站名</source>
        <translation>夾雜符號的網站名</translation>
    </message>
    <message>
        <source>匹配所需的运算超出了上限</source>
        <translation>匹配所需的運算超出了上限</translation>
    </message>
    <message>
        <source>无法匹配</source>
        <translation>無法匹配</translation>
    </message>
    <message>
        <source>“%1”：%2</source>
        <translation>「%1」：%2</translation>
    </message>
    <message>
        <source>净化规则</source>
        <translation>淨化規則</translation>
    </message>
    <message>
        <source>以下规则无法使用，已停用：
</source>
        <translation>以下規則無法使用，已停用：
</translation>
    </message>
    <message>
        <source>段落整理</source>
        <translation>段落整理</translation>
    </message>
    <message>
        <source>本书：去掉段落之间的空行，段首缩进两个全角空格，接上被网站断开的行</source>
        <translation>本書：去掉段落之間的空行，段首縮排兩個全形空格，接上被網站斷開的行</translation>
    </message>
    <message>
        <source>新书也整理</source>
        <translation>新書也整理</translation>
    </message>
    <message>
        <source>第一次打开的书也整理段落</source>
        <translation>第一次打開的書也整理段落</translation>
    </message>
    <message>
        <source>净化规则…</source>
        <translation>淨化規則…</translation>
    </message>
    <message>
        <source>去掉水印、网址和网页残留；文件本身不会被改动</source>
        <translation>去掉浮水印、網址和網頁殘留；檔案本身不會被改動</translation>
    </message>
    <message>
        <source>同步</source>
        <translation>同步</translation>
    </message>
    <message>
        <source>服务器上的记录来自更新的版本</source>
        <translation>伺服器上的記錄來自更新的版本</translation>
    </message>
    <message>
        <source>%1 秒内没有回答</source>
        <translation>%1 秒內沒有回答</translation>
    </message>
    <message>
        <source>回答过大</source>
        <translation>回答過大</translation>
    </message>
    <message>
        <source>连接成功</source>
        <translation>連線成功</translation>
    </message>
    <message>
        <source>另一台电脑上的位置</source>
        <translation>另一台電腦上的位置</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>測試連線</translation>
    </message>
    <message>
        <source>立即同步</source>
        <translation>立即同步</translation>
    </message>
    <message>
        <source>WebDAV 地址</source>
        <translation>WebDAV 位址</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>使用者名稱</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>正在连接…</source>
        <translation>正在連線…</translation>
    </message>
    <message>
        <source>连接失败：%1</source>
        <translation>連線失敗：%1</translation>
    </message>
    <message>
        <source>没有可用的密钥环：密码只保存在内存中，关闭阅读器后需要重新输入。</source>
        <translation>沒有可用的金鑰圈：密碼只保存在記憶體中，關閉閱讀器後需要重新輸入。</translation>
    </message>
    <message>
        <source>密码保存在系统密钥环中。</source>
        <translation>密碼保存在系統金鑰圈中。</translation>
    </message>
    <message>
        <source>尚未同步</source>
        <translation>尚未同步</translation>
    </message>
    <message>
        <source>未设置同步地址</source>
        <translation>未設定同步位址</translation>
    </message>
    <message>
        <source>同步成功</source>
        <translation>同步成功</translation>
    </message>
    <message>
        <source>无法连接服务器（%1）</source>
        <translation>無法連線伺服器（%1）</translation>
    </message>
    <message>
        <source>服务器繁忙（%1）</source>
        <translation>伺服器忙碌（%1）</translation>
    </message>
    <message>
        <source>用户名或密码不对（%1）</source>
        <translation>使用者名稱或密碼不對（%1）</translation>
    </message>
    <message>
        <source>服务器拒绝（%1）</source>
        <translation>伺服器拒絕（%1）</translation>
    </message>
    <message>
        <source>上次同步：%1，%2</source>
        <extracomment>when the last sync ran, then how it went</extracomment>
        <translation>上次同步：%1，%2</translation>
    </message>
    <message>
        <source>；等待上传的书：%1</source>
        <translation>；等待上傳的書：%1</translation>
    </message>
    <message>
        <source>；%1 秒后重试</source>
        <translation>；%1 秒後重試</translation>
    </message>
    <message>
        <source>目录规则…</source>
        <translation>目錄規則…</translation>
    </message>
    <message>
        <source>选择这本书找章节的规则，或写一个自己的</source>
        <translation>選擇這本書找章節的規則，或寫一個自己的</translation>
    </message>
    <message>
        <source>删除此章</source>
        <translation>刪除此章</translation>
    </message>
    <message>
        <source>目录规则无法使用：%1</source>
        <translation>目錄規則無法使用：%1</translation>
    </message>
    <message>
        <source>表达式太慢，在第 %1 行停止</source>
        <translation>運算式太慢，在第 %1 行停止</translation>
    </message>
    <message>
        <source>表达式在第 %1 行超出了匹配的限度（回溯过多），已停止</source>
        <translation>運算式在第 %1 行超出了比對的限度（回溯過多），已停止</translation>
    </message>
    <message>
        <source>表达式在第 %1 行无法匹配</source>
        <translation>運算式在第 %1 行無法比對</translation>
    </message>
    <message>
        <source>自动（最合适的一种）</source>
        <translation>自動（最合適的一種）</translation>
    </message>
    <message>
        <source>第…章、回、卷</source>
        <translation>第…章、回、卷</translation>
    </message>
    <message>
        <source>正文 标题</source>
        <translation>正文 標題</translation>
    </message>
    <message>
        <source>编号的行（1. 标题）</source>
        <translation>編號的行（1. 標題）</translation>
    </message>
    <message>
        <source>书名加编号（书名1、书名(2)）</source>
        <translation>書名加編號（書名1、書名(2)）</translation>
    </message>
    <message>
        <source>一、二、三 小节</source>
        <translation>一、二、三 小節</translation>
    </message>
    <message>
        <source>自定义正则表达式</source>
        <translation>自訂規則運算式</translation>
    </message>
    <message>
        <source>表达式是空的</source>
        <translation>運算式是空的</translation>
    </message>
    <message>
        <source>表达式无效：%1（第 %2 个字符）</source>
        <translation>運算式無效：%1（第 %2 個字元）</translation>
    </message>
    <message>
        <source>目录规则</source>
        <translation>目錄規則</translation>
    </message>
    <message>
        <source>这本书的章节按哪种规则找出：</source>
        <translation>這本書的章節按哪種規則找出：</translation>
    </message>
    <message>
        <source>规则</source>
        <translation>規則</translation>
    </message>
    <message>
        <source>章节数</source>
        <translation>章節數</translation>
    </message>
    <message>
        <source>最长的一章</source>
        <translation>最長的一章</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>正则表达式，与标题所在的一行相配，例如 ^卷[一二三四五六七八九十]+</source>
        <translation>規則運算式，與標題所在的一行相配，例如 ^卷[一二三四五六七八九十]+</translation>
    </message>
    <message>
        <source>无法使用</source>
        <translation>無法使用</translation>
    </message>
    <message>
        <source>%1 字（%2）</source>
        <translation>%1 字（%2）</translation>
    </message>
    <message>
        <source>请写一个正则表达式。</source>
        <translation>請寫一個規則運算式。</translation>
    </message>
    <message>
        <source>正在计算……</source>
        <translation>正在計算……</translation>
    </message>
    <message>
        <source>正则表达式有误：%1（第 %2 个字符）</source>
        <translation>正規表示式有誤：%1（第 %2 個字元）</translation>
    </message>
    <message>
        <source>表达式过于复杂，已停止查找；已找到 %1 处</source>
        <translation>表示式過於複雜，已停止尋找；已找到 %1 處</translation>
    </message>
    <message>
        <source>正在查找…已找到 %1 处</source>
        <translation>正在尋找…已找到 %1 處</translation>
    </message>
    <message>
        <source>共 %1 处</source>
        <translation>共 %1 處</translation>
    </message>
    <message>
        <source>，仅显示前 %1 处</source>
        <translation>，僅顯示前 %1 處</translation>
    </message>
    <message>
        <source>搜索结果</source>
        <translation>搜尋結果</translation>
    </message>
    <message>
        <source>不转换</source>
        <translation>不轉換</translation>
    </message>
    <message>
        <source>转为简体</source>
        <translation>轉為簡體</translation>
    </message>
    <message>
        <source>转为繁体</source>
        <translation>轉為繁體</translation>
    </message>
    <message>
        <source>转为繁体（台湾）</source>
        <translation>轉為繁體（臺灣）</translation>
    </message>
    <message>
        <source>转为繁体（台湾常用词）</source>
        <translation>轉為繁體（臺灣常用詞）</translation>
    </message>
    <message>
        <source>转为繁体（香港）</source>
        <translation>轉為繁體（香港）</translation>
    </message>
    <message>
        <source>简繁：</source>
        <translation>簡繁：</translation>
    </message>
    <message>
        <source>新书：</source>
        <translation>新書：</translation>
    </message>
    <message>
        <source>简繁</source>
        <translation>簡繁</translation>
    </message>
    <message>
        <source>本书以简体或繁体显示</source>
        <translation>本書以簡體或繁體顯示</translation>
    </message>
    <message>
        <source>简繁转换</source>
        <translation>簡繁轉換</translation>
    </message>
    <message>
        <source>无法载入简繁转换的词典，文本按原样显示：
</source>
        <translation>無法載入簡繁轉換的詞典，文字按原樣顯示：
</translation>
    </message>
    <message>
        <source>本书以简体或繁体显示：按词语转换，文件本身不会被改动</source>
        <translation>本書以簡體或繁體顯示：按詞語轉換，檔案本身不會被改動</translation>
    </message>
    <message>
        <source>第一次打开的书以简体或繁体显示</source>
        <translation>第一次開啟的書以簡體或繁體顯示</translation>
    </message>
    <message>
        <source>这似乎不是文本文件，仍要打开吗？</source>
        <translation>這似乎不是文字檔案，仍要開啟嗎？</translation>
    </message>
    <message>
        <source>文件是空的：</source>
        <translation>檔案是空的：</translation>
    </message>
    <message>
        <source>设为章节</source>
        <translation>設為章節</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>配色</translation>
    </message>
    <message>
        <source>日间</source>
        <translation>日間</translation>
    </message>
    <message>
        <source>夜间</source>
        <translation>夜間</translation>
    </message>
    <message>
        <source>羊皮纸</source>
        <translation>羊皮紙</translation>
    </message>
    <message>
        <source>文本栏的最大宽度，单位为像素；窗口更宽时文本居中；一行至少容纳 20 个字</source>
        <translation>文字欄的最大寬度，單位為像素；視窗更寬時文字置中；一行至少容納 20 個字</translation>
    </message>
    <message>
        <source>第 %1/%2 章</source>
        <translation>第 %1/%2 章</translation>
    </message>
    <message>
        <source>自动滚动；开始或暂停</source>
        <translation>自動捲動；開始或暫停</translation>
    </message>
    <message>
        <source>%1 快一些，%2 慢一些</source>
        <translation>%1 快一些，%2 慢一些</translation>
    </message>
    <message>
        <source>文本字体；Ctrl+= 放大，Ctrl+- 缩小</source>
        <translation>文字字型；Ctrl+= 放大，Ctrl+- 縮小</translation>
    </message>
    <message>
        <source>书架…</source>
        <translation>書架…</translation>
    </message>
    <message>
        <source>书架</source>
        <translation>書架</translation>
    </message>
    <message>
        <source>启动时打开上次读的书</source>
        <translation>啟動時開啟上次讀的書</translation>
    </message>
    <message>
        <source>筛选书名</source>
        <translation>篩選書名</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>開啟</translation>
    </message>
    <message>
        <source>从书架移除</source>
        <translation>從書架移除</translation>
    </message>
    <message>
        <source>在文件管理器中显示</source>
        <translation>在檔案管理員中顯示</translation>
    </message>
    <message>
        <source>已移到 %1</source>
        <translation>已移到 %1</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>檔案不存在</translation>
    </message>
    <message>
        <source>书名</source>
        <translation>書名</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>進度</translation>
    </message>
    <message>
        <source>上次阅读</source>
        <translation>上次閱讀</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>读过的每一本书</source>
        <translation>讀過的每一本書</translation>
    </message>
</context>
</TS>
