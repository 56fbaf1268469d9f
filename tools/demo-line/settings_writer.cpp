// Writing cabdrive.dat, mascon.dat, operation.dat and readme.html.
#include "settings_writer.h"

#include "data_text_file.h"

namespace cabdrive::demo {

std::string settingsText()
{
    DataText t;
    t.line("cabdrive settings of the demo line: screen, video folder and the words of the cab readouts")
        .line("[Disp]").line("30,1").line("800, left edge of the staff card (right of the cab)").line("800").line("600").line("160")
        .line("[Path]").line(videoFolder)
        .line("[Forward]").line("前").line("[Neutral]").line("切").line("[Reverse]").line("後")
        .line("[Stop]").line(" 停車").line("[Pass]").line(" 通過").line("[Stop2]").line(" 運転停車")
        .line("[Neut]").line("ユルメ").line("[Neut2]").line("切")
        .line("[Apply]").line("重なり").line("[Maintain]").line("保ち").line("[Remove]").line("緩め")
        .line("[Hold]").line("込め").line("[Hold2]").line("抑速").line("[EB]").line("非常")
        .line("[Const]").line("定速").line("[Cars]").line("両").line("[TC]").line("閉そく")
        .line("[Stops]").line("停止位置まで").line("あと")
        .line("[Doors]").line("左ドア").line("右ドア")
        .line("[Gears]").line("中立").line("変速").line("直結");
    // By number: special stop, one-person notice, protection and limit texts,
    // then the information line's advice.
    const char* const infoTexts[] = {
        "臨時停車",
        "乗降が終わったらドアを閉めてください",
        "パターン接近",
        "停止まで",
        "制限 あと",
        "(次 ",
        "照査",
        "制限",
        "開くドアは左側です。Page Upで左ドアを選んでください",
        "開くドアは右側です。Page Downで右ドアを選んでください",
        "停車中の映像が終わるまでお待ちください",
        "ATSが動作しました。停止するまでお待ちください",
        "ATSが動作しました。ブレーキを非常にしてRキーで復帰してください",
        "ATS警報です。ブレーキをかけてスペースキーで確認してください",
        "EB装置が動作しました。何かキーを押してください",
        "注意信号です。55km/h以下に減速してください",
        "減速信号です。75km/h以下に減速してください",
        "警戒信号です。25km/h以下に減速してください",
        "停車駅が近づいています。ブレーキをかけてください",
        "乗務員交代駅です",
        "折り返しの準備をしてください",
        "終点です。Backspaceキーで運転台を交換して折り返せます",
    };
    t.line("[InfoLabel]");
    for (const char* text : infoTexts)
        t.line(text);
    t.line("#")
        .line("[Start]").line("運転開始(&S)").line("[Move]").line("駅移動(&M)").line("[Display]").line("表示(&D)")
        .line("[Control]").line("コントローラ(&C)").line("[Save]").line("保存(&V)");
    return t.text();
}

std::string masconText()
{
    // Five characters per slot: power 1-6, neutral, brake 1-9, reverser
    // forward, neutral and reverse, then the acknowledge, horn, door and
    // announcement buttons; the last three slots have no function.
    DataText t;
    for (int k = 1; k <= 6; ++k)
        t.line("P" + std::to_string(k) + "###");
    t.line("N####");
    for (int k = 1; k <= 8; ++k)
        t.line("B" + std::to_string(k) + "###");
    t.line("EB###").line("F####").line("C####").line("R####")
        .line("ACK##").line("HORN#").line("DOOR#").line("ANN##")
        .line("X24##").line("X25##").line("X26##")
        .line("#")
        .line("Serial master controller codes, one slot per line: P1-P6, N, B1-B8, EB, F/C/R, ACK, HORN, DOOR, ANN.");
    return t.text();
}

std::string operationText()
{
    DataText t;
    t.line("操作説明 (Help)")
        .line("― 若葉線 デモ路線の運転操作 ―")
        .line("")
        .line("【ハンドル】")
        .line("Z / A      力行ノッチを上げる / 下げる (2ハンドル車)")
        .line(", / .      ブレーキを緩める / かける (2ハンドル車)")
        .line("/          非常ブレーキ (2ハンドル車)")
        .line("Z / A      ハンドルを前へ / 手前へ (ワンハンドル車)")
        .line("Q          非常ブレーキ (ワンハンドル車)")
        .line("8 / 2      ハンドルを力行側 / ブレーキ側へ一段 (マウスホイールも同じ)")
        .line("5          力行・ブレーキともに切")
        .line("0          非常ブレーキ")
        .line("F / N / B  逆転器 前 / 切 / 後 (停車中のみ)")
        .line("9 / W      力行モード切替 (ハンドル切のとき)")
        .line("T          定速運転")
        .line("W / X / S  変速レバー 2段 / 1段 / 中立 (手動変速の気動車)")
        .line("")
        .line("【保安装置・警笛】")
        .line("スペース    ATS確認")
        .line("R          ATS復帰 (非常位置で停車中)")
        .line("3          警笛 (押している間)")
        .line("6          電子笛")
        .line("4          ブザー (押している間)")
        .line("Enter      喚呼 (信号・制限・標識・時刻)")
        .line("")
        .line("【ドア・放送】")
        .line("D / 7      ドア開閉 (ワンマン運転のとき)")
        .line("C / 1      車内放送 (ワンマン運転のとき)")
        .line("-          放送を一つ戻す")
        .line("Page Up    左ドアを選ぶ")
        .line("Page Down  右ドアを選ぶ")
        .line("")
        .line("【その他】")
        .line("F2         エンジン始動 (押し続ける) / Shift+F2 停止")
        .line("F3         数値表示ウィンドウ")
        .line("Backspace  終点で運転台を交換して折り返す")
        .line("Scroll Lock  2 と 8 を入れ替える")
        .line("Shift+↑/↓  運転台を上下に動かす")
        .line("Shift+F1   撮影速度で走る (デバッグ) / F1 解除")
        .line("Shift+F5～F12  フレーム・時刻・速度の調整 (デバッグ)");
    return t.text();
}

std::string readmeHtml(const LineGeometry& downLine, const std::vector<VehicleEntry>& vehicles)
{
    std::string stations;
    for (const StationSite& s : downLine.stations) {
        const char* kind = s.kind == passing ? "通過" : s.kind == stopWithoutService ? "運転停車" : "停車";
        stations += "<li>" + s.name + " (" + kind + ")</li>\n";
    }
    std::string trains;
    for (const VehicleEntry& v : vehicles)
        trains += "<li><code>" + v.path + "</code>: " + v.summary + "</li>\n";
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"Shift_JIS\">\n<title>" + downLine.name
           + " デモ路線の運転ガイド</title>\n"
             "<style>body{font-family:sans-serif;max-width:860px;margin:auto;line-height:1.6} "
             "figure{margin:1em 0} img{border:1px solid #888;max-width:100%}</style>\n</head>\n<body>\n"
             "<h1>" + downLine.name + " デモ路線の運転ガイド</h1>\n"
             "<p>若葉台から港浜まで、全長6.5 kmの架空の路線です。タイトル画面で「下り」か「上り」を選び、"
             "列車の絵をクリックすると運転台が開きます。メニューの「運転開始」で発車時刻の準備が始まります。</p>\n"
             "<figure><img src=\"image/title/title2.jpg\" alt=\"タイトル画面\"><figcaption>タイトル画面: 路線と列車を選びます。"
             "列車を右クリックすると別の車両ファイルを選べます。</figcaption></figure>\n"
             "<h2>駅</h2>\n<ol>\n" + stations + "</ol>\n"
             "<h2>運転台</h2>\n"
             "<figure><img src=\"panel/e231/panel.bmp\" alt=\"運転台\"><figcaption>左から速度計、MR/BC圧力計、ER/BP圧力計、"
             "SAP圧力計、電圧計、電流計、BC・MRの棒グラフ、時計、デジタル速度、車内信号。下の段は表示灯とノッチ表示です。"
             "</figcaption></figure>\n"
             "<figure><img src=\"image/staf_down.bmp\" alt=\"スタフ\"><figcaption>スタフ (時刻表): 各駅の着発時刻。"
             "レは通過です。</figcaption></figure>\n"
             "<h2>運転のしかた</h2>\n<ol>\n"
             "<li>ドアが閉まり発車ベルが鳴り終わったら、ブレーキを緩め (<kbd>,</kbd>)、力行ノッチを入れます (<kbd>Z</kbd>)。</li>\n"
             "<li>信号と制限速度標識に従って走ります。<kbd>Enter</kbd>で喚呼します。</li>\n"
             "<li>停車駅接近の標識が見えたらブレーキ (<kbd>.</kbd>) をかけ、停止位置目標に合わせて止めます。</li>\n"
             "<li>ATSのベルが鳴ったらブレーキをかけてスペースキーで確認します。</li>\n"
             "<li>終点の港浜 (下り) では<kbd>Backspace</kbd>で運転台を交換できます。</li>\n</ol>\n"
             "<figure><img src=\"image/signal/signal.bmp\" alt=\"信号\"><figcaption>信号の現示: 停止、警戒、注意、減速、進行。"
             "</figcaption></figure>\n"
             "<h2>列車</h2>\n<ul>\n" + trains + "</ul>\n"
             "<p>キー操作の一覧はメニューのHelpにあります (<code>operation.dat</code>)。</p>\n</body>\n</html>\n";
}

void writeSettingsFiles(const std::string& dataFolder, const LineGeometry& downLine, const std::vector<VehicleEntry>& vehicles)
{
    writeDataText(dataFolder + "/cabdrive.dat", settingsText());
    writeDataText(dataFolder + "/mascon.dat", masconText());
    writeDataText(dataFolder + "/operation.dat", operationText());
    writeDataText(dataFolder + "/readme.html", readmeHtml(downLine, vehicles));
}

}  // namespace cabdrive::demo
