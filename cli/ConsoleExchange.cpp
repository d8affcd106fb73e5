#include "ConsoleExchange.h"

#include "StringTable.h"

int CommandLineMessageId(int stringId) {
    switch (stringId) {
    case 115: return 60040;   // restart: "closes the Configuration window"
    case 116: return 60041;   // factory defaults: the same
    case 128: return 60042;   // Restart = yes: the same
    case 129: return 60043;   // FactoryDefaults = yes: the same
    case 1003: return 60044;  // "marked with asterisk"
    case 1008: return 60045;  // "Some parameter values might be missing."
    case 1022: return 60046;  // "Press F1 for more help."
    default: return stringId;
    }
}

void ConsoleExchange::ShowMessage(const std::string& message, int stringId) {
    const int own = CommandLineMessageId(stringId);
    err << (own == stringId ? message : LoadString(own)) << '\n';
}

void ConsoleExchange::Fail() { throw ConsoleExchangeFailed{}; }
