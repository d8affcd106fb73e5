#include "DialogTemplates.h"

#include <map>

namespace {

using K = ControlKind;

// Texts are program texts in the program's single-byte character set
// (Windows-1252), like the string table.
std::map<int, DialogTemplate> makeTemplates() {
    std::map<int, DialogTemplate> t;

    t[TemplateId::About] = {TemplateId::About, TemplateStyle::Modal, "About", 200, 55, {
        {NoControlId, K::Icon, "", 9, 9, 21, 20, 0, ImageId::ProgramIcon},
        {1267, K::Label, "QUOR Tessaron Configuration", 36, 8, 158, 9, Bold},
        {NoControlId, K::Label, "Version 1.00", 36, 19, 100, 8},
        {1266, K::Label, "\xA9 QUOR. All rights reserved.", 36, 30, 105, 8},
        {CommandId::Ok, K::PushButton, "OK", 143, 36, 50, 14, Default},
    }};

    t[TemplateId::ServerTextView] = {TemplateId::ServerTextView, TemplateStyle::Modal, "Server Statistics", 350, 230, {
        {1092, K::ListBox, "", 5, 4, 340, 204, Border | VScroll | HScroll | NoSelect},
        {CommandId::Ok, K::PushButton, "OK", 149, 212, 50, 14, Default},
    }};

    t[TemplateId::StartPage] = {TemplateId::StartPage, TemplateStyle::Child, "", 330, 175, {
        {NoControlId, K::Image, "", 11, 3, 307, 2, 0, ImageId::Rule},
        {1004, K::ImageButton, "Disc Access", 45, 39, 100, 17, 0, ImageId::DiscAccessButton},
        {1121, K::ImageButton, "Management", 185, 39, 100, 17, 0, ImageId::ManagementButton},
        {1006, K::ImageButton, "Quick Installation", 45, 85, 100, 17, 0, ImageId::QuickInstallationButton},
        {1000, K::ImageButton, "Configuration", 185, 85, 100, 17, 0, ImageId::ConfigurationButton},
        {CommandId::Help, K::ImageButton, "Help", 114, 129, 100, 17, 0, ImageId::HelpButton},
        {NoControlId, K::Image, "", 11, 170, 307, 2, 0, ImageId::Rule},
    }};

    t[TemplateId::MainWindow] = {TemplateId::MainWindow, TemplateStyle::Modal, "Windows Configuration Tool", 365, 255, {
        {1124, K::PushButton, "Home", 125, 24, 52, 14, Hidden},
        {CommandId::Help, K::PushButton, "Help", 185, 24, 52, 14, Hidden},
        {1076, K::Image, "", 3, 5, 79, 34, 0, ImageId::MakerLogo},
        {1265, K::Image, "", 2, 8, 95, 21, 0, ImageId::OemLogo},
        {1074, K::Label, "CURRENT PAGE", 102, 8, 160, 13, Centre | Bold, 0, 20},
        {1223, K::Label, "Server Type", 268, 18, 94, 10, Centre | Bold},
    }};

    t[TemplateId::QuickInstallation] = {TemplateId::QuickInstallation, TemplateStyle::Child, "", 330, 174, {
        {1067, K::PushButton, "Submit  Settings", 64, 7, 95, 14, Multiline},
        {1068, K::PushButton, "Reset Settings", 170, 7, 95, 14},
        {1278, K::Label, "Internet Address", 4, 36, 56, 8},
        {1069, K::Edit, "", 78, 33, 80, 14},
        {1279, K::Label, "Default Router", 4, 59, 52, 8},
        {1070, K::Edit, "", 78, 56, 80, 14},
        {1280, K::Label, "NetMask", 4, 82, 32, 8},
        {1127, K::Edit, "", 78, 79, 80, 14},
        {1281, K::Label, "Password", 4, 105, 67, 8},
        {1134, K::Edit, "", 78, 102, 80, 14},
        {1282, K::Label, "SMB Server Name", 4, 128, 67, 8},
        {1071, K::Edit, "", 78, 125, 80, 14},
        {1283, K::Label, "Domain/Group Name", 4, 151, 72, 8},
        {1072, K::Edit, "", 78, 148, 80, 14},
        {1284, K::Label, "NetWare Server Name", 170, 36, 74, 8},
        {1130, K::Edit, "", 247, 33, 80, 14},
        {1268, K::Label, "NDS Tree Name", 170, 59, 73, 8},
        {1273, K::Edit, "", 247, 56, 80, 14},
        {1269, K::Label, "NDS Server Context", 170, 82, 73, 8},
        {1274, K::Edit, "", 247, 79, 80, 14},
        {1270, K::Label, "NDS Admin. Name", 170, 105, 72, 8},
        {1275, K::Edit, "", 247, 102, 80, 14},
        {1271, K::Label, "NDS Admin. Password", 170, 128, 76, 8},
        {1276, K::Edit, "", 247, 125, 80, 14},
        {1272, K::Label, "NDS Install", 170, 151, 74, 8},
        {1287, K::DropList, "", 247, 149, 48, 63, VScroll},
    }};

    t[TemplateId::ManagementGeneral] = {TemplateId::ManagementGeneral, TemplateStyle::Child, "General", 330, 175, {
        {1087, K::GroupBox, "", 7, 3, 316, 102},
        {NoControlId, K::Label, "Serial Number:", 16, 15, 90, 8},
        {1261, K::Edit, "", 110, 13, 150, 12, ReadOnly},
        {NoControlId, K::Label, "Software Version:", 16, 30, 90, 8},
        {1262, K::Edit, "", 110, 28, 150, 12, ReadOnly},
        {1238, K::Label, "NetWare Server Name:", 16, 45, 90, 8},
        {1259, K::Edit, "", 110, 43, 150, 12, ReadOnly},
        {1239, K::Label, "Node Address:", 16, 60, 90, 8},
        {1263, K::Edit, "", 110, 58, 150, 12, ReadOnly},
        {1240, K::Label, "Internet Address:", 16, 75, 90, 8},
        {1264, K::Edit, "", 110, 73, 150, 12, ReadOnly},
        {1241, K::Label, "SMB Server Name:", 16, 90, 90, 8},
        {1260, K::Edit, "", 110, 88, 150, 12, ReadOnly},
        {1079, K::PushButton, "Statistics", 7, 110, 70, 14},
        {NoControlId, K::Label, "View server statistics", 85, 113, 235, 8},
        {1080, K::PushButton, "Restart", 7, 126, 70, 14},
        {NoControlId, K::Label, "Restart server", 85, 129, 235, 8},
        {1088, K::PushButton, "Factory Defaults", 7, 142, 70, 14},
        {NoControlId, K::Label, "Change the parameter values to factory default settings", 85, 145, 235, 8},
        {1285, K::PushButton, "Event Log", 7, 158, 70, 14},
        {1286, K::Label, "View server event log", 85, 161, 235, 8},
    }};

    t[TemplateId::ScsiText] = {TemplateId::ScsiText, TemplateStyle::Child, "SCSI", 330, 175, {
        {1245, K::ListBox, "", 5, 5, 318, 164, Border | VScroll | HScroll | NoSelect},
    }};

    t[TemplateId::FormText] = {TemplateId::FormText, TemplateStyle::Modal, "Form Text", 194, 81, {
        {1257, K::Label, "Enter Form Type Text", 12, 8, 170, 20},
        {1251, K::Label, "Parameter Name", 12, 37, 74, 8},
        {1250, K::Edit, "", 89, 34, 91, 14},
        {CommandId::Ok, K::PushButton, "OK", 38, 60, 50, 14, Default},
        {CommandId::Cancel, K::PushButton, "Cancel", 106, 60, 50, 14},
    }};

    t[TemplateId::ParameterPage] = {TemplateId::ParameterPage, TemplateStyle::Child, "", 330, 175, {
        {1116, K::PushButton, "Submit Settings", 64, 5, 95, 14},
        {1117, K::PushButton, "Reset Settings", 170, 5, 95, 14},
        {1242, K::Label, "* Not fully\n  supported", 280, 2, 44, 18, Hidden},
        {1255, K::Frame, "", 0, 23, 329, 143, Hidden | Sunken},
    }};

    t[TemplateId::ListParameterPage] = {TemplateId::ListParameterPage, TemplateStyle::Child, "", 330, 175, {
        {1116, K::PushButton, "Submit Settings", 64, 5, 95, 14},
        {1117, K::PushButton, "Reset Settings", 170, 5, 95, 14},
        {1242, K::Label, "* Not fully\n  supported", 280, 2, 44, 18, Hidden},
        {1192, K::ListBox, "", 6, 27, 135, 143, Hidden | Notify | Border | VScroll},
        {1253, K::ListBox, "", 5, 4, 42, 12, Hidden},
        {1255, K::Frame, "", 152, 27, 175, 143, Hidden},
    }};

    return t;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int templateId) {
    static const std::map<int, DialogTemplate> templates = makeTemplates();
    auto it = templates.find(templateId);
    return it == templates.end() ? nullptr : &it->second;
}

const char* ImageFileName(int imageId) {
    switch (imageId) {
    case ImageId::ProgramIcon: return "program-icon.svg";
    case ImageId::MakerLogo: return "maker-logo.svg";
    case ImageId::Rule: return "rule.svg";
    case ImageId::HelpButton: return "help.svg";
    case ImageId::ConfigurationButton: return "configuration.svg";
    case ImageId::DiscAccessButton: return "disc-access.svg";
    case ImageId::ManagementButton: return "management.svg";
    case ImageId::QuickInstallationButton: return "quick-installation.svg";
    case ImageId::OemLogo: return "oem-logo.svg";
    default: return nullptr;
    }
}
