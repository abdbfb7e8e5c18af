// The applet files Windows ships, named here so that they are never loaded: loading
// a system applet runs its start-up code inside this process.
#include "tools/cpl/KnownCplTables.h"

namespace
{

const KnownCplRow kWindows95[] = {
    {L"ACCESS.CPL", L"ﾕｰｻﾞｰ補助", L"", 0},
    {L"APPWIZ.CPL", L"ｱﾌﾟﾘｹｰｼｮﾝの追加と削除", L"", 0},
    {L"INETCPL.CPL", L"ﾕｰｻﾞｰ", L"", 1},
    {L"INETCPL.CPL", L"ｲﾝﾀｰﾈｯﾄ", L"", 1},
    {L"INTL.CPL", L"地域", L"", 0},
    {L"JOY.CPL", L"ゲーム コントローラ", L"", 0},
    {L"MAIN.CPL", L"ﾌｫﾝﾄ", L"", 1},
    {L"MAIN.CPL", L"ﾌﾟﾘﾝﾀ", L"", 1},
    {L"MAIN.CPL", L"ｷｰﾎﾞｰﾄﾞ", L"", 1},
    {L"MAIN.CPL", L"ﾏｳｽ", L"", 1},
    {L"MAIN.CPL", L"PC ｶｰﾄﾞ (PCMCIA)", L"", 1},
    {L"MAIN.CPL", L"ﾊﾟﾜｰ ﾏﾈｰｼﾞﾒﾝﾄ", L"", 1},
    {L"MMSYS.CPL", L"ｻｳﾝﾄﾞ", L"", 1},
    {L"MMSYS.CPL", L"ﾏﾙﾁﾒﾃﾞｨｱ", L"", 1},
    {L"MODEM.CPL", L"ﾓﾃﾞﾑ", L"", 0},
    {L"NETCPL.CPL", L"ﾈｯﾄﾜｰｸ", L"", 0},
    {L"ODBCCP32.CPL", L"ODBC ﾃﾞｰﾀ ｿｰｽ (32ﾋﾞｯﾄ)", L"", 0},
    {L"POWERCFG.CPL", L"電源の管理", L"", 0},
    {L"SYSDM.CPL", L"ｼｽﾃﾑ", L"", 1},
    {L"SYSDM.CPL", L"ﾊｰﾄﾞｳｪｱの追加", L"", 1},
    {L"TIMEDATE.CPL", L"日付と時刻", L"", 0},
    {L"TELEPHON.CPL", L"ﾃﾚﾌｫﾆｰ", L"", 0},
    {L"TWEAKUI.CPL", L"Tweak UI", L"", 0},
};

const KnownCplRow kWindows98[] = {
    {L"ACCESS.CPL", L"ユーザー補助", L"", 0},
    {L"APPWIZ.CPL", L"アプリケーションの追加と削除", L"", 0},
    {L"INETCPL.CPL", L"ユーザー", L"", 1},
    {L"INETCPL.CPL", L"インターネット", L"", 1},
    {L"INTL.CPL", L"地域", L"", 0},
    {L"JOY.CPL", L"ゲーム コントローラ", L"", 0},
    {L"MAIN.CPL", L"フォント", L"", 1},
    {L"MAIN.CPL", L"プリンタ", L"", 1},
    {L"MAIN.CPL", L"キーボード", L"", 1},
    {L"MAIN.CPL", L"マウス", L"", 1},
    {L"MAIN.CPL", L"PC カード (PCMCIA)", L"", 1},
    {L"MAIN.CPL", L"パワー マネージメント", L"", 1},
    {L"MMSYS.CPL", L"サウンド", L"", 1},
    {L"MMSYS.CPL", L"マルチメディア", L"", 1},
    {L"MODEM.CPL", L"モデム", L"", 0},
    {L"NETCPL.CPL", L"ネットワーク", L"", 0},
    {L"ODBCCP32.CPL", L"ODBC データ ソース (32ビット)", L"", 0},
    {L"POWERCFG.CPL", L"電源の管理", L"", 0},
    {L"SYSDM.CPL", L"システム", L"", 1},
    {L"SYSDM.CPL", L"ハードウェアの追加", L"", 1},
    {L"TIMEDATE.CPL", L"日付と時刻", L"", 0},
    {L"TELEPHON.CPL", L"テレフォニー", L"", 0},
    {L"TWEAKUI.CPL", L"Tweak UI", L"", 0},
};

const KnownCplRow kWindowsNt4[] = {
    {L"APPWIZ.CPL", L"ｱﾌﾟﾘｹｰｼｮﾝの追加と削除", L"", 0},
    {L"CONSOLE.CPL", L"ｺﾝｿｰﾙ", L"", 0},
    {L"DEVAPPS.CPL", L"ﾃｰﾌﾟ ﾃﾞﾊﾞｲｽ", L"", 1},
    {L"DEVAPPS.CPL", L"PC ｶｰﾄﾞ (PCMCIA)", L"", 1},
    {L"DEVAPPS.CPL", L"SCSI ｱﾀﾞﾌﾟﾀ", L"", 1},
    {L"INETCPL.CPL", L"ｲﾝﾀｰﾈｯﾄ", L"", 0},
    {L"INTL.CPL", L"地域", L"", 0},
    {L"MAIN.CPL", L"ｷｰﾎﾞｰﾄﾞ", L"", 1},
    {L"MAIN.CPL", L"ﾌｫﾝﾄ", L"", 1},
    {L"MAIN.CPL", L"ﾌﾟﾘﾝﾀ", L"", 1},
    {L"MAIN.CPL", L"ﾏｳｽ", L"", 1},
    {L"MMSYS.CPL", L"ｻｳﾝﾄﾞ", L"", 1},
    {L"MMSYS.CPL", L"ﾏﾙﾁﾒﾃﾞｨｱ", L"", 1},
    {L"MODEM.CPL", L"ﾓﾃﾞﾑ", L"", 0},
    {L"NCPA.CPL", L"ﾈｯﾄﾜｰｸ", L"", 0},
    {L"ODBCCP32.CPL", L"ODBC", L"", 0},
    {L"PARCPL.CPL", L"ﾊﾟﾗﾚﾙ ﾎﾟｰﾄ", L"", 0},
    {L"PORTS.CPL", L"ｼﾘｱﾙ ﾎﾟｰﾄ", L"", 0},
    {L"RASCPL.CPL", L"ﾀﾞｲﾔﾙｱｯﾌﾟ ﾓﾆﾀ", L"", 0},
    {L"SRVMGR.CPL", L"ｻｰﾊﾞｰ", L"", 1},
    {L"SRVMGR.CPL", L"ｻｰﾋﾞｽ", L"", 1},
    {L"SRVMGR.CPL", L"ﾃﾞﾊﾞｲｽ", L"", 1},
    {L"SYSDM.CPL", L"ｼｽﾃﾑ", L"", 0},
    {L"TIMEDATE.CPL", L"日付と時刻", L"", 0},
    {L"UPS.CPL", L"無停電電源(UPS)", L"", 0},
    {L"TELEPHON.CPL", L"ﾃﾚﾌｫﾆｰ", L"", 0},
};

const KnownCplRow kWindows2000On[] = {
    {L"ACCESS.CPL", L"ユーザー補助のオプション", L"ユーザー補助の機能をカスタマイズします。", 0},
    {L"APPWIZ.CPL", L"アプリケーションの追加と削除",
     L"アプリケーションやWindowsコンポーネントをインストールおよび削除します。", 1},
    {L"APPWIZ.CPL", L"フォルダ オプション",
     L"ファイルやフォルダの表示のカスタマイズ、ファイルの関連付けの変更、ネットワーク "
     L"ファイルのオフライン利用を設定します。",
     1},
    {L"HDWWIZ.CPL", L"ハードウェアの追加と削除",
     L"ハードウェアをインストール、削除、およびトラブルシューティングします。", 0},
    {L"INETCPL.CPL", L"インターネット オプション", L"インターネットの表示画面や接続情報を設定します。", 0},
    {L"INTL.CPL", L"地域のオプション", L"言語、数値、時刻および日付の表示設定をカスタマイズします。", 0},
    {L"JOY.CPL", L"ゲーム コントローラ",
     L"ジョイスティック、ゲームパッドなどのゲーム コントローラのハードウェアを追加、削除、構成します", 0},
    {L"MAIN.CPL", L"キーボード", L"キーボードの設定をカスタマイズします。", 1},
    {L"MAIN.CPL", L"マウス", L"マウスの設定をカスタマイズします。", 1},
    {L"MMSYS.CPL", L"サウンドとマルチメディア",
     L"イベントにサウンドを割り当ててサウンド デバイスを構成します。", 0},
    {L"POWERCFG.CPL", L"電源オプション", L"コンピュータの省電力設定を構成します。", 0},
    {L"SYSDM.CPL", L"システム", L"システムの基本情報を表示し、詳細設定を変更します。", 0},
    {L"TIMEDATE.CPL", L"日付と時刻", L"日付、時刻とタイム ゾーンを設定します。", 0},
    {L"TELEPHON.CPL", L"電話とモデムのオプション", L"電話とダイヤル情報とモデムのプロパティを構成します。",
     0},
    {L"TWEAKUI.CPL", L"Tweak UI", L"ユーザーインターフェース詳細設定", 0},
    {L"UPS.CPL", L"無停電電源(UPS)", L"無停電電源を構成します。", 0},
    {L"FIREWALL.CPL", L"Windows Defender ファイアウォール",
     L"ファイアウォール "
     L"セキュリティのオプションを設定すると、ハッカーや悪意のあるソフトウェアからコンピュータを保護できるよう"
     L"になります。",
     0},
};

template <size_t N> KnownCplTable Table(const KnownCplRow (&rows)[N])
{
    return {rows, static_cast<int>(N)};
}

} // namespace

KnownCplTable GetKnownCplTable(int osKind)
{
    switch (osKind)
    {
    case 0:
        return Table(kWindows95);
    case 1:
        return Table(kWindows98);
    case 2:
        return Table(kWindowsNt4);
    default:
        return Table(kWindows2000On);
    }
}
