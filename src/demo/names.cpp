// The names and texts of the demo ROM. All made up; combined from short lists so that every
// table gets as many distinct entries as the game has records.
#include <array>
#include <string>

#include "core/layout/scenario.h"
#include "demo/data.h"

namespace tsumugi::demo::detail {
namespace {

constexpr std::array kUnitBases = {
    "アルテミス", "レイヴン",   "グラディウス", "ヴァルキリー", "ファルコン", "ストーム",
    "ティターン", "オーディン", "フェンリル",   "ハルバード",   "ケルベロス", "セイバー",
    "ランサー",   "グリフォン", "ペガサス",     "ミネルヴァ",   "アトラス",   "ヘリオス",
    "セレーネ",   "ノクターン", "ブレイズ",     "シリウス",     "ベガ",       "アルタイル",
    "リゲル",     "カノープス", "スピカ",       "アンタレス",   "プロキオン", "デネブ",
};
constexpr int kUnitForms = 5;  // plain, Ⅱ, 改, カスタム, 量産型

constexpr std::array kSurnames = {
    "天城", "桐生", "朝倉", "如月", "神崎", "白石", "黒田", "早瀬",
    "水野", "葉山", "霧島", "高峰", "藤堂", "東雲", "真田", "結城",
};
constexpr std::array kGivenNames = {
    "ハルカ", "ソウマ", "リン", "カイト", "ミオ", "ユウキ",
    "アキラ", "サクラ", "レン", "ヒカル", "ナギ",
};

constexpr std::array kWeaponBases = {
    "ビームライフル", "ビームソード", "マシンガン",
    "バルカン",       "ミサイル",     "誘導ミサイル",
    "バズーカ",       "キャノン",     "レールガン",
    "ショットガン",   "ヒートナイフ", "ヒートアックス",
    "斬光刀",         "鉄拳",         "ロケットナックル",
    "ドリルアタック", "チェーンソー", "粒子砲",
    "拡散砲",         "荷電粒子砲",   "重力波砲",
    "光子魚雷",       "ビット",       "ワイヤーアンカー",
    "火炎放射器",     "冷凍光線",     "電撃",
    "超音波",         "念動衝撃",     "大型ブレード",
    "ツインランス",   "ハンマー",     "狙撃ライフル",
    "グレネード",     "対艦ミサイル", "全弾発射",
    "必殺剣",
};
constexpr std::array kWeaponForms = {
    "",   "改", "Ⅱ",  "Ⅲ",    "Ｓ",       "Ｌ",       "（連射）", "（拡散）", "（最大）", "・改",
    "Ｖ", "Ｘ", "＋", "ＥＸ", "（試作）", "（量産）", "Ａ",       "Ｂ",       "Ｃ",       "Ｄ",
};

constexpr std::array kSpiritNames = {
    "集中", "必中", "閃き", "加速", "鉄壁", "熱血", "魂",   "友情", "信頼", "激励", "覚醒",
    "幸運", "祝福", "努力", "応援", "偵察", "脱力", "挑発", "気合", "気迫", "根性", "ど根性",
    "復活", "奇跡", "愛",   "補給", "再動", "突撃", "直撃", "狙撃", "不屈", "献身", "勇気",
};

constexpr std::array kSkillNames = {
    "連続攻撃", "援護攻撃", "援護防御", "反撃",     "指揮官",   "見極め",   "底意地",   "闘争心",
    "集中力",   "切り払い", "撃ち落し", "シールド", "防御強化", "気力強化", "射撃強化", "格闘強化",
    "念動力",   "予知能力", "強運",     "精神統一", "天才",     "努力家",   "不屈の魂", "技量強化",
    "回避強化", "命中強化", "二回行動", "ＳＰ回復", "ＨＰ回復", "ＥＮ回復", "修理技能", "補給技能",
    "隊長",     "盾の心得", "一撃離脱", "覇気",
};

constexpr std::array kPartBases = {
    "推進剤タンク",   "修理キット",   "強化装甲",       "高性能レーダー", "照準装置",
    "追加ブースター", "冷却装置",     "防御フィールド", "予備弾倉",       "反応炉",
    "姿勢制御装置",   "耐熱フィルム", "電子妨害装置",   "回復ユニット",   "補助脚",
    "浮遊ユニット",   "水中用装備",   "宇宙用装備",     "地上用装備",     "装甲板",
    "分身装置",       "精神増幅器",   "気力制御装置",
};

constexpr std::array kBgmTitles = {
    "出撃のテーマ",
    "静かなる夜明け",
    "ＢＡＴＴＬＥ　ＬＩＮＥ",
    "蒼き翼",
    "決戦の空",
    "鋼の心",
    "Ｆｉｒｓｔ　Ｓｔｅｐ",
    "星の海へ",
    "遠い約束",
    "赤い流星",
    "反撃の狼煙",
    "ＮＥＸＴ　ＷＡＶＥ",
    "風の行方",
    "勝利の誓い",
    "迫る影",
    "光と闇",
    "Ｆｉｎａｌ　Ｂｌａｄｅ",
    "運命の扉",
    "月下の戦い",
    "旅立ちの朝",
    "嵐の前",
    "希望の歌",
    "ＳＰＥＥＤ　ＳＴＡＲ",
    "永遠の夏",
    "守るべきもの",
    "砂漠の鷹",
};

constexpr std::array kChapterTitles = {
    "出撃の朝",   "見知らぬ敵",   "燃える街",       "決意の時",     "宇宙へ",       "月面の戦い",
    "裏切りの影", "新たな仲間",   "砂漠の攻防",     "海からの刺客", "奪われた翼",   "反撃開始",
    "要塞攻略",   "凍てつく大地", "約束の場所",     "迫り来る脅威", "孤独な戦い",   "光る翼",
    "包囲網突破", "再会",         "嵐の中で",       "最後の希望",   "決戦前夜",     "空の果て",
    "目覚める力", "偽りの平和",   "奇襲作戦",       "友との別れ",   "蒼い地球",     "運命の日",
    "炎の記憶",   "遠い星",       "闇を裂く光",     "帰還",         "それぞれの道", "夜明けの決戦",
    "眠れる巨人", "最終防衛線",   "終わらない明日", "未来へ",
};

constexpr std::array kPersonalities = {
    "超強気", "強気", "普通", "弱気",   "冷静", "慎重",     "熱血漢",   "陽気",
    "短気",   "臆病", "大胆", "皮肉屋", "無口", "お人好し", "気まぐれ", "天然",
};

constexpr std::array kWeaponTypes = {
    "ビーム",   "実弾", "ミサイル", "格闘",     "剣",       "槍",       "斧",
    "ハンマー", "鞭",   "ビット",   "レーザー", "火炎",     "冷気",     "電撃",
    "音波",     "重力", "念動",     "分身",     "拳",       "蹴り",     "銃",
    "砲",       "魚雷", "爆弾",     "ドリル",   "チェーン", "ワイヤー", "その他",
};

constexpr std::array kSkillTypes = {"攻撃系", "防御系", "補助系", "気力系", "特殊系"};
constexpr std::array kTrustTypes = {"命中", "回避", "攻撃力", "防御力"};

constexpr std::array kBattleLines = {
    "行くぞ！",
    "ここは通さない！",
    "狙いは外さない…！",
    "まだだ、まだ終わらない！",
    "この一撃で決める！",
    "くっ…やるな！",
    "援護する、下がって！",
    "見えた！そこだ！",
    "負けるわけにはいかないんだ！",
    "機体が重い…\r\nだが、まだ動ける！",
    "全弾発射！",
    "甘いな！",
    "みんなを守るんだ！",
    "これで終わりだ！",
    "ちっ、しぶとい奴だ",
    "いい腕だ。\r\nだが、相手が悪かったな",
    "損傷軽微、戦闘続行！",
    "私が相手だ！",
    "当たれぇっ！",
    "その程度か？",
    "覚悟しろ！",
    "勝負だ！",
    "ここからが本番だ！",
    "うおおおっ！",
};

constexpr std::array kMessages = {
    "各機、発進準備！",
    "敵の反応を確認。数は…多いな",
    "ここで食い止めるぞ！",
    "了解。\r\n前衛は私が引き受ける",
    "援軍はまだなの？",
    "あと少しだ、持ちこたえろ！",
    "この先に敵の基地があるはずだ",
    "何か妙だ。\r\n慎重に進もう",
    "待たせたな！",
    "撤退だ！全機、後退しろ！",
    "まさか、あの機体は…！",
    "作戦は成功だ。帰還する",
    "無茶をするな！",
    "みんな、無事か？",
    "新型の性能、見せてもらおう",
    "レーダーに反応！上空からだ！",
    "エネルギーが足りない…",
    "補給が終わるまで守り抜け！",
    "あの光は、いったい…",
    "敵の指揮官機を狙え！",
    "ここは私に任せて、先に行って！",
    "全機、戦闘態勢に入れ",
    "よし、突破口が開いた！",
    "戦いはまだ終わっていない",
    "次の作戦まで休んでおけ",
    "海の向こうに何かいる…",
    "索敵完了。敵影なし",
    "この戦いが終わったら…",
    "聞こえるか？応答しろ！",
    "時間がない、急げ！",
};

std::string Pick(const auto& list, int i) {
    const int n = static_cast<int>(list.size());
    return Sj(list[static_cast<size_t>(((i % n) + n) % n)]);
}

}  // namespace

std::string UnitName(int i) {
    const std::string base = Pick(kUnitBases, i / kUnitForms);
    switch (i % kUnitForms) {
        case 1:
            return base + Sj("Ⅱ");
        case 2:
            return base + Sj("改");
        case 3:
            return base + Sj("カスタム");
        case 4:
            return Sj("量産型") + base;
        default:
            return base;
    }
}

std::string PilotName(int i) {
    const int given = static_cast<int>(kGivenNames.size());
    return Pick(kSurnames, i / given) + Pick(kGivenNames, i % given);
}

std::string PilotNickname(int i) {
    if (i % 9 == 8) return std::string();
    return Pick(kGivenNames, i % static_cast<int>(kGivenNames.size()));
}

std::string WeaponName(int i) {
    const int forms = static_cast<int>(kWeaponForms.size());
    return Pick(kWeaponBases, i / forms) + Pick(kWeaponForms, i % forms);
}

std::string SpiritName(int i) { return Pick(kSpiritNames, i); }
std::string SkillName(int i) { return Pick(kSkillNames, i); }

std::string PartName(int i) {
    const int bases = static_cast<int>(kPartBases.size());
    return Pick(kPartBases, i % bases) + (i >= bases ? Sj("改") : std::string());
}

std::string BgmName(int i) {
    if (i == 0) return Sj("無音");
    const int titles = static_cast<int>(kBgmTitles.size());
    const std::string title = Pick(kBgmTitles, (i - 1) % titles);
    return i > titles ? title + Sj("（アレンジ）") : title;
}

std::string ChapterTitle(int i) {
    if (i == 0) return Sj("プロローグ");
    if (i == tsumugi::layout::chapter_title_record::kCount - 1) return std::string();
    const int titles = static_cast<int>(kChapterTitles.size());
    const std::string title = Pick(kChapterTitles, (i - 1) % titles);
    return i > titles ? title + Sj("（後編）") : title;
}

uint16_t ChapterNumber(int i) { return static_cast<uint16_t>(i); }

std::string PersonalityName(int i) { return Pick(kPersonalities, i); }
std::string WeaponTypeName(int i) { return Pick(kWeaponTypes, i); }
std::string SkillTypeName(int i) { return Pick(kSkillTypes, i); }
std::string TrustTypeName(int i) { return Pick(kTrustTypes, i); }

std::string BattleLineText(int pilot, int line) { return Pick(kBattleLines, pilot * 3 + line); }
std::string MessageText(int chapter, int message) {
    if (chapter == kSharedTextChapter && message == kSharedTextMessage) message = kSharedTextWith;
    return Pick(kMessages, chapter * 5 + message);
}

int BattleLineCount(int pilot) { return 1 + pilot % 4; }
int DeployCount(int chapter) { return 3 + chapter % 6; }
int MessageCount(int chapter) { return 4 + chapter % 7; }

}  // namespace tsumugi::demo::detail
