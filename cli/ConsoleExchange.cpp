#include "ConsoleExchange.h"

void ConsoleExchange::Fail() { throw ConsoleExchangeFailed{}; }
