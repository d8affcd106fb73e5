#pragma once

#include "PropertyPage.h"
#include "ServerFacts.h"
#include "ServerRequests.h"

// The management sheet's first tab: who the server is (serial number,
// software version, names and addresses, read once when the tab is built;
// a name or address the configuration file lacks is hidden with its label)
// and what can be done to it: view its statistics and event log, restart it
// or return it to its factory settings. Each request is asked first and
// ends the program once it is sent.
class ManagementGeneralProperty : public PropertyPage {
    Q_OBJECT
public:
    static constexpr int kStatisticsId = 1079;
    static constexpr int kRestartId = 1080;
    static constexpr int kFactoryDefaultsId = 1088;
    static constexpr int kEventLogId = 1285;
    static constexpr int kEventLogLabelId = 1286;
    static constexpr int kSerialNumberId = 1261;
    static constexpr int kSoftwareVersionId = 1262;
    static constexpr int kHelpContext = 18;

    ManagementGeneralProperty();

    bool OnInitDialog() override;
    bool OnSetActive() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool OnCommand(int commandId) override;

    void ShowStatistics();
    void ShowEventLog();
    void RequestRestart();
    void RequestFactoryDefaults();

    const ServerFacts& Facts() const { return facts; }
    // The edit and the label that show an address.
    static int EditOf(ServerFacts::Address address);
    static int LabelOf(ServerFacts::Address address);

private:
    void loadValues();
    void sendRequest(int questionId, unsigned questionType, ServerRequest::Kind kind);

    ServerFacts facts;
};
