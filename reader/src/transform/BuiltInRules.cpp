#include "BuiltInRules.h"

#include <QCoreApplication>

namespace
{

// Letters and digits of a site's name, half- or full-width.
#define NAME "[A-Za-z0-9Ａ-Ｚａ-ｚ０-９-]"
// What stands for the dot of an address: a dot, a full-width or ideographic
// one, a slash or spaces. (\h: blanks within the line, where \s would take
// a line break too.)
#define DOT "\\h*[.．。/／·]\\h*|\\h+"

QStringList &names()
{
    static QStringList sources;
    return sources;
}

CleaningRule rule(const char *name, const QString &pattern, bool enabled,
                  const QString &replacement = QString())
{
    names() << QString::fromUtf8(name);
    return {QCoreApplication::translate("QObject", name), pattern, replacement, true, enabled};
}

QVector<CleaningRule> makeRules()
{
    return {
        // www.site.com, wwＷ．site.com, " www/site/com", (www.site.net) alone on a line
        rule(QT_TRANSLATE_NOOP("QObject", "只有网址的行"),
             QStringLiteral("^\\h*[\\[［(（【<《]?\\h*(?:https?://)?[wWｗＷ]{3}(?:" DOT ")" NAME
                            "+(?:(?:" DOT ")" NAME "+)+\\h*[\\]］)）】>》]?\\h*$"),
             true),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 标签"),
             QStringLiteral("</?(?:[A-Za-z][A-Za-z0-9]*)(?:\\h+[^<>\\n]*)?/?>"), true),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 空格"),
             QStringLiteral("&(?:nbsp|ensp|emsp|thinsp|#160|#32);"), true, QStringLiteral(" ")),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 全角空格"), QStringLiteral("&#12288;"), true,
             QStringLiteral("\u3000")),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 小于号"), QStringLiteral("&lt;"), true,
             QStringLiteral("<")),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 大于号"), QStringLiteral("&gt;"), true,
             QStringLiteral(">")),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 引号"), QStringLiteral("&quot;"), true,
             QStringLiteral("\"")),
        rule(QT_TRANSLATE_NOOP("QObject", "HTML 和号"), QStringLiteral("&amp;"), true,
             QStringLiteral("&")),
        // 声明:本书由万书网(www.txt2017.com)自网络收集整理制作,仅供交流学习使用…
        rule(QT_TRANSLATE_NOOP("QObject", "下载声明"),
             QStringLiteral("^.{0,20}(?:本书由|本书来自|本作品来自|本电子书由).{0,60}"
                            "(?:收集|整理|制作|提供|上传|下载).*$"),
             false),
        // 更新时间:2007-11-16 7:55:51 本章字数:4804
        rule(QT_TRANSLATE_NOOP("QObject", "更新时间与字数"),
             QStringLiteral("^\\h*(?:更新时间|本章字数|字数)\\h*[:：].{0,40}$"), false),
        // ------章节内容开始-------
        rule(QT_TRANSLATE_NOOP("QObject", "横线标语"),
             QStringLiteral(
                 "^\\h*[-－—=＝*＊~～_]{3,}[^-－—=＝*＊~～_]{0,20}[-－—=＝*＊~～_]{3,}\\h*$"),
             false),
        // 下书网  http://www.xiabook.com，最有文艺气息的文学网站…
        rule(QT_TRANSLATE_NOOP("QObject", "网站宣传行"),
             QStringLiteral("^.{0,20}(?:https?://|[wWｗＷ]{3}[.．])\\S+.{0,40}$"), false),
        // ［小.说.t.xt＾天）堂）: a site's name with symbols between its letters
        rule(QT_TRANSLATE_NOOP("QObject", "夹杂符号的网站名"),
             QStringLiteral("^\\h*(?=.*[A-Za-z])(?=(?:.*?[\\p{Han}A-Za-z][\\p{P}\\p{S}]+){3})"
                            "[\\p{Han}A-Za-z\\p{P}\\p{S}]{4,24}\\h*$"),
             false),
    };
}

#undef NAME
#undef DOT

} // namespace

const QVector<CleaningRule> &BuiltInRules::all()
{
    static const QVector<CleaningRule> rules = makeRules();
    return rules;
}

const QStringList &BuiltInRules::ids()
{
    all();
    return names();
}

QVector<CleaningRule> BuiltInRules::shipped()
{
    QVector<CleaningRule> on;
    for (const CleaningRule &rule : all()) {
        if (rule.enabled)
            on << rule;
    }
    return on;
}
