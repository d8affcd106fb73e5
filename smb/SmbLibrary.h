#pragma once

#include <libsmbclient.h>

#include <string>

// Samba's client library, loaded the first time a share is reached over
// SMB instead of when the program starts: it brings some ninety libraries
// of its own (Kerberos, GnuTLS, LDAP), which a run on a folder of this
// computer never needs. Once loaded it stays for the life of the process,
// as the library keeps state of its own until then.
struct SmbLibrary {
    decltype(&smbc_new_context) newContext;
    decltype(&smbc_init_context) initContext;
    decltype(&smbc_free_context) freeContext;
    decltype(&smbc_setOptionUserData) setUserData;
    decltype(&smbc_getOptionUserData) getUserData;
    decltype(&smbc_setFunctionAuthDataWithContext) setAuthentication;
    decltype(&smbc_setOptionOpenShareMode) setShareMode;
    decltype(&smbc_setTimeout) setTimeout;
    decltype(&smbc_getFunctionCheckServer) getCheckServer;
    decltype(&smbc_setFunctionCheckServer) setCheckServer;
    decltype(&smbc_getFunctionOpen) open;
    decltype(&smbc_getFunctionRead) read;
    decltype(&smbc_getFunctionWrite) write;
    decltype(&smbc_getFunctionLseek) lseek;
    decltype(&smbc_getFunctionFtruncate) ftruncate;
    decltype(&smbc_getFunctionClose) close;
    decltype(&smbc_getFunctionOpendir) opendir;
    decltype(&smbc_getFunctionReaddir) readdir;
    decltype(&smbc_getFunctionClosedir) closedir;
};

// The library, loaded on the first call; null when it cannot be loaded,
// with the reason in problem.
const SmbLibrary* LoadSmbLibrary(std::string& problem);
