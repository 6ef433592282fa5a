// Start-up: what the window does once, before it is first shown.
#include "app/ApplicationTitle.h"
#include "app/BooleanText.h"
#include "app/CursorFile.h"
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/LineNumbersSetting.h"
#include "app/Main.h"
#include "app/Product.h"
#include "app/SettingsKeys.h"
#include "app/Skin.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QRadioButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QIcon ApplicationIcon() {
    QIcon icon;
    for (const QString& size : {u"16"_s, u"32"_s, u"48"_s, u"64"_s, u"128"_s, u"256"_s})
        icon.addFile(u":/tarnwick/icon-"_s + size + u".png"_s);
    return icon;
}

} // namespace

Task<> Form1::Form_Load() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.Form_Load "_s);
    co_await proc.Step(100, [&] { ApplySkin(); });
    co_await proc.Step(104, [&] { RichTextBox1.SetText({}); });
    co_await proc.Step(106, [&] { RichTextBox2.SetText({}); });
    co_await proc.Step(108, [&] { RichTextBox3.SetText({}); });
    co_await proc.Step(110, [&] { RichTextBox4.SetText({}); });
    // 112 to 118 would switch on a pane option that nothing here reads.
    QString cursorPath;
    if (co_await proc.Test(120, [&] {
            cursorPath = Main::ProgramFilePath(desktop_.fileSystem, u"HAND-M.CUR"_s);
            return Main::FileExists(desktop_.fileSystem, cursorPath);
        }))
        co_await proc.Step(122,
                           [&] { mouseIcon_ = LoadCursorFile(desktop_.fileSystem, cursorPath); });
    co_await proc.Step(122, [&] { VisitMakerSiteAtRandom(); });
    co_await proc.Step(124, [&] { setWindowTitle(Product::kName); });
    co_await proc.Step(124, [&] { setWindowIcon(ApplicationIcon()); });
    co_await proc.Step(124, [&] { SetApplicationTitle(); });
    const auto restore = [&](const QString& key, const QString& defaultValue,
                             QRadioButton* option) {
        const QString stored = desktop_.settings.GetSetting(
            SettingsKeys::kApplication, SettingsKeys::kSection, key, defaultValue);
        SetOptionValue(option, ToBoolean(stored));
    };
    co_await proc.Step(158, [&] { restore(SettingsKeys::kOption2, u"1"_s, Option2); });
    co_await proc.Step(160, [&] { restore(SettingsKeys::kOption1, u"0"_s, Option1); });
    co_await proc.Step(160, [&] { ShowLineNumbers(LineNumbersSetting::Read(desktop_.settings)); });
    co_await proc.Step(160, [&] { UseRules(RulesSetting::Read(desktop_.settings)); });
    // Stored settings that could not be read were set aside; the user hears of it once.
    co_await proc.Step(160, [&]() -> Task<> {
        if (const std::optional<QString> problem = desktop_.settings.TakeProblem())
            co_await desktop_.msgBox.Show(*problem, MsgBoxStyle::OkOnly);
    });
}

// The optional skin: only when an ordinary file sits at x/o.cjs among the program's files.
void Form1::ApplySkin() {
    const QString path = Main::ProgramFilePath(desktop_.fileSystem, u"x/o.cjs"_s);
    if (!desktop_.fileSystem.IsOrdinaryFile(path))
        return;
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (QWidget* widget : {client_, static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2),
                            static_cast<QWidget*>(Frame3), static_cast<QWidget*>(Option1),
                            static_cast<QWidget*>(Option2)}) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, buttonFace);
        widget->setPalette(palette);
    }
    ApplySkinFile(*this, desktop_.fileSystem, path);
}

// About one start in a hundred shows the maker's site.
void Form1::VisitMakerSiteAtRandom() {
    desktop_.random.Randomize(desktop_.secondsSinceMidnight());
    const int n = static_cast<int>(std::floor(desktop_.random.Rnd() * 100)) + 1;
    if (n == 7)
        desktop_.shell.OpenUrl(Product::kMakerSite);
}

void Form1::SetApplicationTitle() {
    QGuiApplication::setApplicationDisplayName(ApplicationTitleFor(Product::kName));
}
