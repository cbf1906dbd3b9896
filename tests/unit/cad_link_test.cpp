#include "cadlink/cad_link.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cadlink/text_lines.h"
#include "platform/abort.h"
#include "platform/text_trim.h"
#include "simulated_desktop.h"

using cadlink::CadLink;
using platform::WindowHandle;
using platform::sim::ReceivedMessage;
using platform::sim::SimulatedDesktop;

namespace {

const char kAfxFrame[] = "Afx:0000000140000000:8:0000000000010003:0000000000000000:0000000000110597";
const char kAfxText[] = "Afx:0000000140000000:b:0000000000010003:0000000000000006:0000000000000000";

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A running AutoCAD on the simulated desktop: its prompt and history are plain texts here.
class CadLinkTest : public ::testing::Test {
protected:
    SimulatedDesktop desktop;
    CadLink link{desktop, desktop, desktop};
    WindowHandle frame = 0, prompt = 0, textWindow = 0;
    std::string promptText = "コマンド: ";
    std::string historyText;

    void SetUp() override {
        textWindow = desktop.AddTopLevel("AutoCAD テキスト ウィンドウ - Drawing1.dwg", kAfxText, 42);
        frame = desktop.AddTopLevel("AutoCAD 2024 - [Drawing1.dwg]", kAfxFrame, 42);
        const WindowHandle dock = desktop.AddChild(frame, "", "Dock");
        desktop.AddChild(dock, "MountTam", "History");
        prompt = desktop.AddChild(dock, "Headlands", "Prompt");
        desktop.SetTextSource(prompt, [this] { return promptText; });
        desktop.SetCommandHandler(textWindow, [this](std::uintptr_t id) {
            if (id != cadlink::kCopyHistoryCommand)
                return;
            // The host copies its history as it does for the user: it owns the clipboard then.
            ASSERT_TRUE(desktop.OpenClipboard());
            desktop.EmptyClipboard();
            desktop.SetClipboardData(platform::kCfText, historyText + '\0');
            desktop.CloseClipboard();
        });
        // The workflows bring the CAD program forward before anything else; that also records
        // the main frame whose process the text window must belong to.
        ASSERT_TRUE(link.ActivateCad());
    }

    std::vector<ReceivedMessage> CopyDataRecords() const {
        std::vector<ReceivedMessage> records;
        for (const ReceivedMessage& m : desktop.Messages())
            if (m.message == platform::kWmCopyData)
                records.push_back(m);
        return records;
    }

    // What the host was typed, each record as the text up to its terminator, in either form.
    std::vector<std::string> Typed() const {
        std::vector<std::string> typed;
        for (const ReceivedMessage& m : CopyDataRecords()) {
            if (m.payload.size() >= 2 && m.payload[1] == '\0' && m.payload[0] != '\0') {
                std::string narrowed;
                for (std::size_t i = 0; i + 1 < m.payload.size() && m.payload[i]; i += 2)
                    narrowed += m.payload[i];
                typed.push_back(narrowed);
            } else {
                typed.push_back(m.payload.c_str());
            }
        }
        return typed;
    }
};

TEST_F(CadLinkTest, PickCommandGoesOutByteForByteInBothForms) {
    ASSERT_TRUE(link.SendCommand(u"\x03ID "));
    desktop.SetUnicode(frame, false);  // asked again for every command
    ASSERT_TRUE(link.SendCommand(u"\x03ID "));

    const auto& messages = desktop.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].message, platform::kWmCopyData);
    EXPECT_EQ(messages[0].window, frame);
    EXPECT_FALSE(messages[0].posted);
    EXPECT_EQ(messages[0].wParam, 0u);
    EXPECT_EQ(messages[0].dwData, 1u);
    EXPECT_EQ(messages[0].cbData, 10u);
    EXPECT_EQ(messages[0].payload, Bytes({0x03, 0, 'I', 0, 'D', 0, ' ', 0, 0, 0}));
    // Each send is followed by exactly one posted WM_NULL.
    EXPECT_EQ(messages[1].message, platform::kWmNull);
    EXPECT_TRUE(messages[1].posted);
    EXPECT_EQ(messages[1].window, frame);

    EXPECT_EQ(messages[2].dwData, 1u);
    EXPECT_EQ(messages[2].cbData, 5u);
    EXPECT_EQ(messages[2].payload, Bytes({0x03, 'I', 'D', ' ', 0}));
    EXPECT_EQ(messages[3].message, platform::kWmNull);
    EXPECT_TRUE(messages[3].posted);
}

TEST_F(CadLinkTest, EmptyTextAndTheLongestTexts) {
    ASSERT_TRUE(link.SendCommandAs(u"", true));
    ASSERT_TRUE(link.SendCommandAs(u"", false));
    const std::u16string longest(255, u'A');
    ASSERT_TRUE(link.SendCommandAs(longest, true));
    ASSERT_TRUE(link.SendCommandAs(longest, false));
    auto records = CopyDataRecords();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].cbData, 2u);
    EXPECT_EQ(records[0].payload, Bytes({0, 0}));
    EXPECT_EQ(records[1].cbData, 1u);
    EXPECT_EQ(records[2].cbData, 512u);
    EXPECT_EQ(records[3].cbData, 256u);
    EXPECT_EQ(records[3].payload, std::string(255, 'A') + '\0');

    // Longer texts do not fit a record: refused, nothing sent.
    desktop.ClearMessages();
    EXPECT_FALSE(link.SendCommandAs(std::u16string(256, u'A'), true));
    EXPECT_FALSE(link.SendCommandAs(std::u16string(256, u'A'), false));
    // 128 Japanese characters are 256 bytes in the code page.
    EXPECT_TRUE(link.SendCommandAs(std::u16string(128, u'\x5186'), true));
    EXPECT_FALSE(link.SendCommandAs(std::u16string(128, u'\x5186'), false));
    EXPECT_EQ(CopyDataRecords().size(), 1u);
}

// A Unicode frame gets the text as it is; an ANSI one the code page's default character.
TEST_F(CadLinkTest, CharacterOutsideTheCodePageArrivesWholeOnlyInAUnicodeFrame) {
    // U+00E9 is not in code page 932; U+1F600 is two code units that become one '?'.
    ASSERT_TRUE(link.SendCommandAs(u"a\u00e9\U0001F600", true));
    ASSERT_TRUE(link.SendCommandAs(u"a\u00e9\U0001F600", false));
    auto records = CopyDataRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].cbData, 2u * (4 + 1));  // counted from the text as given
    EXPECT_EQ(records[0].payload, Bytes({'a', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_EQ(records[1].cbData, 4u);
    EXPECT_EQ(records[1].payload, Bytes({'a', '?', '?', 0}));
}

TEST_F(CadLinkTest, JapaneseTextGoesOutAsUtf16OrCodePage932) {
    ASSERT_TRUE(link.SendCommandAs(u"円\r", true));
    ASSERT_TRUE(link.SendCommandAs(u"円\r", false));
    auto records = CopyDataRecords();
    EXPECT_EQ(records[0].payload, Bytes({0x86, 0x51, '\r', 0, 0, 0}));
    EXPECT_EQ(records[1].payload, Bytes({0x89, 0x7E, '\r', 0}));
}

TEST_F(CadLinkTest, NothingIsSentWithoutALiveMainFrame) {
    desktop.Destroy(frame);
    EXPECT_FALSE(link.SendCommand(u"ID "));
    EXPECT_FALSE(link.SendCommandAs(u"ID ", true));
    EXPECT_FALSE(link.SendCopyDataWide(u"ID "));
    EXPECT_FALSE(link.SendCopyDataAnsi(u"ID "));
    EXPECT_FALSE(link.ActivateCad());
    EXPECT_FALSE(link.IsCadUnicode());
    EXPECT_TRUE(desktop.Messages().empty());
    EXPECT_EQ(link.QuerySysVar(u"LASTPOINT"), u"");
    EXPECT_TRUE(desktop.Messages().empty());
}

// A second CAD program on top when a run starts is the one typed into; should it close before
// the first send, the run types into neither and reads nothing of the other.
TEST_F(CadLinkTest, RunGoesToTheCadOnTopAndNeverFallsBackToAnother) {
    const WindowHandle other = desktop.AddTopLevel("AutoCAD 2024 - [Drawing2.dwg]", kAfxFrame, 77);
    ASSERT_TRUE(link.ActivateCad());
    EXPECT_TRUE(link.SendCommand(u"ID "));
    EXPECT_EQ(desktop.Messages().at(0).window, other);
    desktop.ClearMessages();
    desktop.Destroy(other);
    EXPECT_TRUE(link.FitsRecord(u"_massprop"));  // the text is not to blame for the gone frame
    EXPECT_FALSE(link.SendCommand(u"FILEDIA 1\r"));
    EXPECT_EQ(link.ReadPrompt(), u"");
    EXPECT_EQ(link.QuerySysVar(u"HPBOUND"), u"");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(CadLinkTest, ActivateSucceedsEvenWhenTheForegroundChangeIsRefused) {
    EXPECT_TRUE(link.ActivateCad());
    EXPECT_EQ(desktop.Foreground(), frame);
    desktop.SetForegroundRefused(true);
    EXPECT_TRUE(link.ActivateCad());
    EXPECT_TRUE(link.IsCadUnicode());
    desktop.SetUnicode(frame, false);
    EXPECT_FALSE(link.IsCadUnicode());
}

TEST_F(CadLinkTest, PromptIsReadWithItsTextMessages) {
    EXPECT_EQ(link.ReadPrompt(), u"コマンド: ");
    promptText.clear();
    EXPECT_EQ(link.ReadPrompt(), u"");
    promptText = std::string(100000, 'p');
    EXPECT_EQ(link.ReadPrompt(), std::u16string(100000, u'p'));
    promptText = "a\x81";  // a lone lead byte at the end
    EXPECT_EQ(link.ReadPrompt(), desktop.AnsiToWide("a\x81"));
    desktop.Destroy(prompt);
    EXPECT_EQ(link.ReadPrompt(), u"");
}

TEST_F(CadLinkTest, SteadyPromptReadCostsTwoLivenessTestsAndOneMessage) {
    link.ReadPrompt();
    desktop.ResetCalls();
    link.ReadPrompt();
    EXPECT_EQ(desktop.Calls().isWindow, 2);
    EXPECT_EQ(desktop.Calls().isWindowUnicode, 0);
    EXPECT_EQ(desktop.Calls().sendMessage, 1);
    EXPECT_EQ(desktop.Calls().enumWindows + desktop.Calls().enumChildWindows, 0);
}

TEST_F(CadLinkTest, SteadyCommandCostsOneLivenessTestOneFormQuestionOneSendAndOnePost) {
    link.SendCommand(u"\x03ID ");
    for (const bool unicode : {true, false}) {
        desktop.ResetCalls();
        link.SendCommandAs(u"\x03ID ", unicode);
        EXPECT_EQ(desktop.Calls().isWindow, 1);
        EXPECT_EQ(desktop.Calls().isWindowUnicode, 0);
        EXPECT_EQ(desktop.Calls().sendMessage, 1);
        EXPECT_EQ(desktop.Calls().postMessage, 1);
    }
    desktop.ResetCalls();
    link.SendCommand(u"\x03ID ");
    EXPECT_EQ(desktop.Calls().isWindow, 1);
    EXPECT_EQ(desktop.Calls().isWindowUnicode, 1);
    EXPECT_EQ(desktop.Calls().sendMessage + desktop.Calls().postMessage, 2);
    EXPECT_EQ(desktop.Calls().enumWindows + desktop.Calls().enumChildWindows, 0);
}

// Texts around the size read in one message, and far beyond it, come back whole in either form of
// prompt window; only those that may not have fitted cost the length query and a second read (a
// double-byte character cut off may leave one byte more unused in the ANSI form).
TEST_F(CadLinkTest, PromptOfAnyLengthIsReadWhole) {
    for (const bool unicode : {true, false}) {
        const WindowHandle dock = desktop.AddChild(frame, "", "Dock");
        const WindowHandle formPrompt = desktop.AddChild(dock, "Headlands", "Prompt");
        desktop.SetUnicode(formPrompt, unicode);
        desktop.SetTextSource(formPrompt, [this] { return promptText; });
        desktop.Destroy(prompt);
        prompt = formPrompt;
        const std::size_t unused = unicode ? 1 : 2;
        for (std::size_t length :
             {std::size_t{0}, std::size_t{1}, cadlink::kTextReadUnits - 3, cadlink::kTextReadUnits - 2,
              cadlink::kTextReadUnits - 1, cadlink::kTextReadUnits, std::size_t{5000}}) {
            promptText.clear();
            for (std::size_t i = 0; i < length; ++i)
                promptText += static_cast<char>('a' + i % 26);
            link.ReadPrompt();  // finds the window
            desktop.ResetCalls();
            EXPECT_EQ(link.ReadPrompt(), desktop.AnsiToWide(promptText)) << length;
            EXPECT_EQ(desktop.Calls().sendMessage, length + unused < cadlink::kTextReadUnits ? 1 : 3) << length;
        }
    }
}

TEST_F(CadLinkTest, HistoryComesFromTheClipboardAndTheUsersContentIsPutBack) {
    const unsigned privateFormat = 0xC123;
    desktop.PutOnClipboard(platform::kCfText, std::string("ユーザーの文字") + '\0');
    desktop.PutOnClipboard(privateFormat, Bytes({1, 2, 0, 3}));
    historyText = "コマンド: ID\r\n点を指定:  X = 10.0000     Y = 20.0000     Z = 0.0000\r\n";
    EXPECT_EQ(link.LastHistoryLine(), u"点を指定:  X = 10.0000     Y = 20.0000     Z = 0.0000");
    EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("ユーザーの文字") + '\0');
    EXPECT_EQ(desktop.ClipboardData(privateFormat), Bytes({1, 2, 0, 3}));
    EXPECT_FALSE(desktop.ClipboardOpen());
}

TEST_F(CadLinkTest, EmptyClipboardStaysEmptyAfterTheExchange) {
    historyText = "コマンド:";
    desktop.ResetCalls();
    EXPECT_EQ(link.ReadHistory(), u"コマンド:");
    EXPECT_FALSE(desktop.ClipboardHas(platform::kCfText));
    EXPECT_EQ(desktop.Calls().emptyClipboard, 2);  // the host's copy and the put-back, no more
}

// Another program holding the clipboard puts the exchange off: no call waits longer than a send
// may, the caller is told by PutOff, and a hold that lasts ends in the silent abort, nothing lost.
TEST_F(CadLinkTest, HeldClipboardPutsTheExchangeOffThenEndsInTheSilentAbortWithNothingLost) {
    desktop.PutOnClipboard(platform::kCfText, std::string("keep") + '\0');
    desktop.SetClipboardHeldElsewhere(true);
    int putOff = 0;
    try {
        for (;;) {
            const unsigned before = desktop.SleptMs();
            const unsigned putOffBefore = link.PutOff();
            EXPECT_EQ(link.LastHistoryLine(), u"");
            EXPECT_LE(desktop.SleptMs() - before, platform::CommandLineSystem::kAnswerTimeoutMs);
            EXPECT_EQ(link.PutOff(), putOffBefore + 1);
            ++putOff;
            desktop.Sleep(25);  // the run's next wake-up
        }
    } catch (const platform::EAbort&) {
    }
    EXPECT_GE(putOff, 3);
    EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("keep") + '\0');
    for (const ReceivedMessage& m : desktop.Messages())
        EXPECT_NE(m.message, platform::kWmCommand);  // the host was not asked to copy
}

// A program that put data on the clipboard to render only on request, and hangs: reading it would
// hang the tool. The exchange stops after one bounded question, before the clipboard is touched.
TEST_F(CadLinkTest, HungClipboardOwnerEndsInTheSilentAbortWithinTheBoundAndNothingLost) {
    desktop.PutOnClipboard(platform::kCfText, std::string("keep") + '\0');
    desktop.SetClipboardOwnerHung(true);
    EXPECT_THROW(link.LastHistoryLine(), platform::EAbort);
    EXPECT_THROW(link.QuerySysVar(u"LASTPOINT"), platform::EAbort);  // its value is in the history
    EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("keep") + '\0');
    EXPECT_FALSE(desktop.ClipboardOpen());
    for (const ReceivedMessage& m : desktop.Messages())
        EXPECT_NE(m.message, platform::kWmCommand);
    EXPECT_EQ(desktop.SleptMs(), 2 * platform::Clipboard::kOwnerTimeoutMs);

    desktop.SetClipboardOwnerHung(false);
    historyText = "コマンド: ID";
    EXPECT_EQ(link.LastHistoryLine(), u"コマンド: ID");
}

// A clipboard monitor opens the clipboard the moment the CAD program has put its history there.
TEST_F(CadLinkTest, ClipboardTakenAfterTheHistoryCopyGetsTheUsersContentBackOnceFree) {
    // Held briefly, the tries of the call outlast it; held longer, the history is lost and the
    // user's content goes back at a later wake-up. A read forgotten (its run ended) is never over:
    // the next run must not end for it.
    for (unsigned heldMs : {20u, 400u, 401u}) {
        const bool forgotten = heldMs == 401;
        desktop.PutOnClipboard(platform::kCfText, std::string("mine") + '\0');
        historyText = "コマンド: ID";
        desktop.SetCommandHandler(textWindow, [this, heldMs](std::uintptr_t) {
            ASSERT_TRUE(desktop.OpenClipboard());
            desktop.EmptyClipboard();
            desktop.SetClipboardData(platform::kCfText, historyText + '\0');
            desktop.CloseClipboard();
            desktop.HoldClipboardElsewhereFor(heldMs);
        });
        const unsigned sleptBefore = desktop.SleptMs();
        EXPECT_EQ(link.ReadHistory(), heldMs < 40 ? u"コマンド: ID" : u"") << heldMs;
        EXPECT_EQ(link.ClipboardPending(), heldMs >= 40);
        EXPECT_LE(desktop.SleptMs() - sleptBefore, platform::CommandLineSystem::kAnswerTimeoutMs);
        if (forgotten)
            link.ForgetCutShort();
        // Over once the content is back: the read is then lost for good.
        bool over = heldMs < 40;
        while (!over && desktop.SleptMs() - sleptBefore < heldMs + 100) {
            desktop.Sleep(25);
            over = link.TakeUpPending();
        }
        EXPECT_EQ(over, !forgotten) << heldMs;
        EXPECT_FALSE(link.ClipboardPending());
        EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("mine") + '\0') << heldMs;
        EXPECT_FALSE(desktop.ClipboardOpen());
    }
}

// A CAD program that stops answering is busy: the link types and reads nothing, and sends nothing
// to wait on, until it answers again.
TEST_F(CadLinkTest, UnansweredSendMakesTheLinkReadAndTypeNothingUntilTheCadAnswersAgain) {
    desktop.SetProcessFrozen(42, true);
    EXPECT_EQ(link.ReadPrompt(), u"");
    EXPECT_FALSE(link.Answering());
    desktop.ClearMessages();
    desktop.PutOnClipboard(platform::kCfText, std::string("keep") + '\0');
    EXPECT_EQ(link.ReadPrompt(), u"");
    EXPECT_EQ(link.LastHistoryLine(), u"");
    EXPECT_EQ(link.QuerySysVar(u"LASTPOINT"), u"");
    EXPECT_FALSE(link.SendCommand(u"\x03ID "));
    EXPECT_TRUE(desktop.Messages().empty());  // nothing sent, nothing to wait for
    EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("keep") + '\0');

    desktop.SetProcessFrozen(42, false);
    EXPECT_TRUE(link.Answering());
    EXPECT_EQ(link.ReadPrompt(), u"コマンド: ");
    EXPECT_TRUE(link.SendCommand(u"\x03ID "));
}

TEST_F(CadLinkTest, WithoutTextWindowTheClipboardIsNotTouched) {
    desktop.Destroy(textWindow);
    desktop.PutOnClipboard(platform::kCfText, std::string("keep") + '\0');
    EXPECT_EQ(link.ReadHistory(), u"");
    EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("keep") + '\0');
}

TEST_F(CadLinkTest, LastHistoryLineSkipsEmptyLinesButNotBlankOnes) {
    historyText = "first\r\nsecond\r\n\r\n\n";
    EXPECT_EQ(link.LastHistoryLine(), u"second");
    historyText = "first\r\n   \r\n";
    EXPECT_EQ(link.LastHistoryLine(), u"   ");
    historyText = "\r\n\r\n\n\r";
    EXPECT_EQ(link.LastHistoryLine(), u"");
    historyText = std::string(100000, 'h');
    EXPECT_EQ(link.LastHistoryLine().size(), 100000u);
}

TEST(TextLines, EveryKindOfLineBreakEndsALine) {
    using cadlink::SplitLines;
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\rb\nc\r\n"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\n\r"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitLines(" x "), (std::vector<std::string>{" x "}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(platform::Trim(std::string("\t 1.5 \x01")), "1.5");
    EXPECT_EQ(platform::Trim(std::u16string(u" \x01")), u"");
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    return out;
}

// Found from the end, the last lines agree with splitting the whole text: every text of up to
// seven bytes made of a letter, a blank and both break characters.
TEST(TextLines, LastLinesAgreeWithSplittingTheWholeText) {
    const char alphabet[] = {'a', ' ', '\r', '\n'};
    int texts = 1;
    for (int length = 0; length <= 7; ++length, texts *= 4) {
        for (int code = 0; code < texts; ++code) {
            std::string text;
            for (int i = 0, rest = code; i < length; ++i, rest /= 4)
                text += alphabet[rest % 4];
            const std::vector<std::string> all = cadlink::SplitLines(text);
            int found = static_cast<int>(all.size()) - 1;
            while (found >= 0 && all[static_cast<std::size_t>(found)].empty())
                --found;
            for (int count = 1; count <= 3; ++count) {
                const cadlink::LineTail tail = cadlink::LastLines(text, static_cast<std::size_t>(count));
                const int first = std::max(0, found + 1 - count);
                const std::vector<std::string> expected(all.begin() + first, all.begin() + (found + 1));
                ASSERT_EQ(tail.anyLine, !all.empty()) << Escaped(text);
                ASSERT_EQ(tail.lines, expected) << Escaped(text) << " count " << count;
                ASSERT_EQ(tail.moreAbove, first > 0) << Escaped(text) << " count " << count;
            }
        }
    }
}

// The text ends at the first zero byte wherever that falls in or across the words looked at, and
// bytes with the high bit set (double-byte characters, 0x80, 0xFF) are never taken for a zero.
TEST(TextLines, UpToFirstZeroEndsAtTheFirstZeroByteWhereverItFalls) {
    const std::string fill =
        "\x81\x80\xFF\x01\x7F\x82\xA0"
        "a";
    for (std::size_t length = 0; length <= 40; ++length) {
        std::string block;
        for (std::size_t i = 0; i < length; ++i)
            block += fill[i % fill.size()];
        ASSERT_EQ(cadlink::UpToFirstZero(block), block) << "no zero, length " << length;
        for (std::size_t zero = 0; zero < length; ++zero) {
            std::string withZero = block;
            withZero[zero] = '\0';
            if (zero + 3 < length)
                withZero[zero + 3] = '\0';  // a later zero changes nothing
            ASSERT_EQ(cadlink::UpToFirstZero(withZero), block.substr(0, zero))
                << "length " << length << ", zero at " << zero;
        }
    }
}

TEST_F(CadLinkTest, SystemVariableFromThePromptIsFollowedByOneCancel) {
    // The host shows the value in its prompt right after the request.
    promptText = "LASTPOINT の新しい値を入力 <  10.0000,20.0000,0.0000 >: ";
    EXPECT_EQ(link.QuerySysVar(u"LASTPOINT"), u"10.0000,20.0000,0.0000");
    EXPECT_EQ(Typed(), (std::vector<std::string>{"'SETVAR LASTPOINT\r", "\x03"}));
    const auto records = CopyDataRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].cbData, 2u * (18 + 1));  // Unicode form, as the main frame is
    EXPECT_EQ(records[1].cbData, 4u);             // one Ctrl+C
}

TEST_F(CadLinkTest, QueryTakesTheFormFromTheKeptMainFrameAndPassesItOn) {
    // A late host may still show the prompt of an earlier query: that is not this variable's value.
    promptText = "HPBOUND の新しい値を入力 <1>: ";
    EXPECT_EQ(link.QuerySysVarAs(u"FILEDIA", false), u"");
    desktop.ClearMessages();
    promptText = "FILEDIA の新しい値を入力 <1>: ";
    EXPECT_EQ(link.QuerySysVarAs(u"FILEDIA", false), u"1");
    const auto records = CopyDataRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].payload, std::string("'SETVAR FILEDIA\r") + '\0');
    EXPECT_EQ(records[1].payload, Bytes({0x03, 0}));
}

TEST_F(CadLinkTest, AcadverIsTypedBareInTheCallersLetters) {
    desktop.SetUnicode(frame, false);
    historyText = "コマンド: acadver\r\nACADVER = \"24.3s (LMS Tech)\" (読み込み専用)\r\n";
    EXPECT_EQ(link.QuerySysVar(u"acadver"), u"\"24.3s (LMS Tech)\"");
    EXPECT_EQ(Typed(), (std::vector<std::string>{"acadver\r"}));
    desktop.ClearMessages();
    link.QuerySysVar(u"ACADVERX");
    EXPECT_EQ(Typed(), (std::vector<std::string>{"'SETVAR ACADVERX\r"}));
}

TEST_F(CadLinkTest, PromptWithoutUsableBracketsGoesOnToTheHistory) {
    historyText = "FILEDIA = 1 (\r\n";
    for (const char* text : {"値 <   >: ", "値 > 5 <", "値: ", "値 <5"}) {
        promptText = text;
        desktop.ClearMessages();
        EXPECT_EQ(link.QuerySysVar(u"FILEDIA"), u"1") << text;
        EXPECT_EQ(Typed().size(), 1u) << "nothing typed after the request: " << text;
    }
}

TEST_F(CadLinkTest, ReadOnlyValueSplitOverThreeLinesIsJoined) {
    promptText = "コマンド: ";
    historyText = "コマンド: ACADVER\r\nACADVER = \r\n\"24.3s\" \r\n(読み込み専用)\r\n";  // found index 3
    EXPECT_EQ(link.QuerySysVar(u"ACADVER"), u"\"24.3s\"");
    historyText = "ACADVER = \r\n\"24.3s\" \r\n(読み込み専用)\r\n";  // found index 2: no join
    EXPECT_EQ(link.QuerySysVar(u"ACADVER"), u"");
}

TEST_F(CadLinkTest, ValueOnTheLineAboveTheLastIsTakenWhenItCarriesTheMark) {
    historyText = "x\r\nACADVER = 24 (読み込み専用)\r\nコマンド:\r\n";  // found index 2
    EXPECT_EQ(link.QuerySysVar(u"ACADVER"), u"24");
    historyText = "ACADVER = 24 (読み込み専用)\r\nコマンド:\r\n";  // found index 1: not consulted
    EXPECT_EQ(link.QuerySysVar(u"ACADVER"), u"");
}

TEST_F(CadLinkTest, WithoutHistoryLinesThePromptIsParsedForAnEqualsSign) {
    promptText = "X = 5 (";
    historyText = "";
    EXPECT_EQ(link.QuerySysVar(u"X"), u"5");
    historyText = "\r\n\r\n";  // all lines empty: the empty first line is parsed
    EXPECT_EQ(link.QuerySysVar(u"X"), u"");
}

TEST_F(CadLinkTest, HistoryLineOfAnotherVariableIsNotTakenAsTheValue) {
    // A host still busy with the request shows the answer to an earlier one.
    historyText = "ACADVER = \"24.3s\" (読み込み専用)\r\n";
    EXPECT_EQ(link.QuerySysVar(u"LASTPOINT"), u"");
    EXPECT_EQ(link.QuerySysVar(u"VER"), u"");  // only the whole name counts
    EXPECT_EQ(link.QuerySysVar(u"AcadVer"), u"\"24.3s\"");
    historyText = "コマンド: ACADVER = 24 (読み込み専用)\r\n";
    EXPECT_EQ(link.QuerySysVar(u"ACADVER"), u"24");
}

TEST_F(CadLinkTest, MalformedHistoryGivesNoValueAndNoFault) {
    for (const std::string& history : {std::string(100000, '='), std::string("=(\x81"), std::string("(=)"),
                                       std::string("a = b") + std::string(5000, ' ') + "\x81"}) {
        historyText = history;
        EXPECT_NO_THROW(link.QuerySysVar(u"X"));
    }
    historyText = "A =(";
    EXPECT_EQ(link.QuerySysVar(u"X"), u"");
}

}  // namespace
