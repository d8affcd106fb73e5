#pragma once

#include <string>
#include <string_view>

#include "TextRules.h"

class DataExchangeContext;

// Stateless value checks, one routine per rule, run inside a data exchange.
// Each routine first marks its control as the one that gets the focus back on
// failure, checks only while the exchange saves the controls, and on a
// violation shows its message and fails the exchange (which does not return).
class ParameterValidation {
public:
    // Kind codes of ValidateList.
    enum Kind : int {
        UIntOrAny = 0,       // "*" or a number up to 65535
        Time = 1,            // hh:mm:ss
        Date = 2,            // yy-mm-dd
        IP = 3,              // dotted quad
        IPOrAny = 4,         // "*" or dotted quad
        OnlyCharacters = 5,  // every character from the set
        NoCharacters = 6,    // no character from the set
        NetWareAddress = 7,  // XX-XX-XX-XX, hexadecimal
    };

    static constexpr std::string_view WhiteSpace = ::WhiteSpace;
    static constexpr std::string_view WhiteSpaceOrSemicolon = " \t\n\v\f\r;";
    static constexpr std::string_view NameCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";

    // Applies the rule of kind to every ";"-separated item of value, left to
    // right; empty items are skipped. For NoCharacters with a set holding ";"
    // the whole trimmed value is the one item. set matters only for
    // OnlyCharacters and NoCharacters. An unknown kind accepts everything.
    static void ValidateList(DataExchangeContext& exchange, int controlId, const std::string& value, int kind,
                             std::string_view set);

    // Digits only, at most 65535; "*" too unless strict.
    static void ValidateUInt(DataExchangeContext& exchange, int controlId, const std::string& item, int strict);
    static void ValidateTime(DataExchangeContext& exchange, int controlId, const std::string& item);
    static void ValidateDate(DataExchangeContext& exchange, int controlId, const std::string& item);
    // A dotted-quad address; "*" too unless strict.
    static void ValidateIP(DataExchangeContext& exchange, int controlId, const std::string& item, int strict);
    // mode 1: only characters of set; mode 0: none of them.
    static void ValidateCharacters(DataExchangeContext& exchange, int controlId, const std::string& item, int mode,
                                   std::string_view set);
    static void ValidateNetWareAddress(DataExchangeContext& exchange, int controlId, const std::string& item);

    // The text typed for a choice list's special entry. An address: at most
    // 11 characters of the form XX-XX-XX-XX. A server list: at most 256
    // characters of names separated by commas, each name at most 47
    // characters (message 1020) of capitals, digits and "_".
    static constexpr int MaxAddressEntryLength = 11;
    static constexpr int MaxServerListLength = 256;
    static constexpr int MaxServerNameLength = 47;
    static void ValidateAddressEntry(DataExchangeContext& exchange, int controlId, const std::string& text);
    static void ValidateServerList(DataExchangeContext& exchange, int controlId, const std::string& text);

    // --- Shared by the checks and the normaliser ---

    // Shows text (string-table message messageId, or a prompt composed from
    // it) and fails the exchange; never returns.
    [[noreturn]] static void Refuse(DataExchangeContext& exchange, const std::string& text, int messageId);
    [[noreturn]] static void Refuse(DataExchangeContext& exchange, int messageId);
    // Refuses with "Illegal parameter value!", explaining the rule broken.
    [[noreturn]] static void RefuseIllegal(DataExchangeContext& exchange, const std::string& rule);
    // Refuses with the length prompt when text is longer than limit.
    static void RefuseLongerThan(DataExchangeContext& exchange, const std::string& text, int limit);

    // Reads a decimal integer the way value-check arguments are read: leading
    // white space, an optional sign, digits up to the first non-digit. Nothing
    // readable gives 0; a number beyond the 32-bit range saturates at its end.
    static int ReadInteger(std::string_view text);
    // The dotted-quad scan: four numbers 0..255 joined by "."; each number may
    // have leading white space and a sign, and only white space may follow the
    // last. On success the four numbers are stored in parts.
    static bool ScanDottedQuad(std::string_view item, int parts[4]);
    static bool ScanTime(std::string_view item);
    static bool ScanDate(std::string_view item);
    // Four hexadecimal numbers 0..FF joined by "-", exactly 11 characters.
    static bool ScanNetWareAddress(std::string_view item);
};

// The prompts of the two limit checks, composed from the string table.
std::string TooLongPrompt(int maximumLength);
std::string OutOfRangePrompt(int minimum, int maximum);

// String-table IDs of those prompts.
inline constexpr int TooLongPromptId = 60001;
inline constexpr int OutOfRangePromptId = 60002;
