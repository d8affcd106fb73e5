#include "Console.h"

#include "ChangeSupport.h"
#include "ConsoleExchange.h"
#include "ParameterHandler.h"
#include "ShownText.h"
#include "StoreError.h"
#include "StringTable.h"

namespace {

constexpr int kGiveUser = 60024;

}  // namespace

int Console::Message(int stringId, int code) const {
    Say(LoadString(CommandLineMessageId(stringId)));
    return code;
}

void Console::Say(const std::string& message) const { err << text.FromServer(message) << '\n'; }

void Console::SayUtf8(const std::string& message) const { err << text.FromUtf8(message) << '\n'; }

int Console::Failure(int stringId, const StoreError& error, int code) const {
    if (error.MessageId() != 0) Message(error.MessageId(), code);
    // The path and the system's reason come from the file system, in UTF-8.
    const std::string detail = ShownName(error.Detail());
    SayUtf8(LoadString(CommandLineMessageId(stringId)) + (detail.empty() ? std::string() : " (" + detail + ")"));
    if (IsAccessRefused(error)) Message(kGiveUser, code);
    if (error.Reason() == EmptyFileReason) OfferRestore(*this, error.Path());
    return code;
}

void Console::Print(const std::string& serverText) const { out << text.FromServer(serverText); }

void Console::PrintUtf8(const std::string& utf8) const { out << text.FromUtf8(utf8); }
