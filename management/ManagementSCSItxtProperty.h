#pragma once

#include "PropertyPage.h"

class ServerTextList;

// The SCSI tab of a server that describes its SCSI bus only as text: the
// lines of that description as the server wrote them, read once, when the
// tab is first shown. When it cannot be read the user is told and the tab
// stays empty.
class ManagementSCSItxtProperty : public PropertyPage {
    Q_OBJECT
public:
    static constexpr int kListId = 1245;
    static constexpr int kHelpContext = 15;

    ManagementSCSItxtProperty();

    bool OnInitDialog() override;
    bool OnSetActive() override;

    ServerTextList* List() const { return list; }

private:
    ServerTextList* list = nullptr;
};
