// The library page's operations on a real instance: preset and bank files, default banks,
// the clipboard, the file dialogs and the remembered folder and names.

#include <gtest/gtest.h>

#include <vector>

#include "engine/ProgramImages.h"
#include "engine/ProgramLibrary.h"
#include "modules/ModuleCatalogue.h"
#include "support/ConfigHome.h"
#include "support/InProcessHost.h"

using namespace testing_support;
using namespace kirra::param;
using platform::FileDialogResult;

namespace {

std::vector<float> liveValues(kirra::Plugin& plugin) {
    std::vector<float> values;
    values.reserve(kProgramParameterCount);
    for (int index = 0; index < kProgramParameterCount; ++index)
        values.push_back(plugin.getParameter(index));
    return values;
}

void editCurrentProgram(kirra::Plugin& plugin, const char* name) {
    plugin.setParameter(kOperatorType1, stateValue(kirra::kStereo, 64));
    plugin.setParameter(operatorParameter(0, 1), 0.2f);
    plugin.setParameter(kMix, 0.4f);
    plugin.setParameter(kSpareFirst, 0.9f);
    plugin.setParameter(kSlotStatus, stateValue(5, kSlotStatusStates));
    plugin.setProgramName(name);
}

// Stands in for the desktop's dialog: answers as told and keeps the request.
class ScriptedChooser : public platform::FileChooser {
  public:
    FileDialogResult answer = FileDialogResult::kChosen;
    std::string path;
    platform::FileDialogRequest lastRequest;
    int calls = 0;

    FileDialogResult choose(const platform::FileDialogRequest& request,
                            std::string& chosen) override {
        ++calls;
        lastRequest = request;
        if (answer == FileDialogResult::kChosen) chosen = path;
        return answer;
    }
};

}  // namespace

// (Either byte order of the image is read; the image tests check that.)
TEST(ProgramLibrary, PresetFileRestoresValuesAndNameIntoTheCurrentProgram) {
    TemporaryFolder folder;
    const std::string path = folder.file("my presets é/Lead 1.vtp");
    ASSERT_EQ(::mkdir(folder.file("my presets é").c_str(), 0700), 0);
    InProcessHost source;
    editCurrentProgram(source.plugin(), "Lead");
    ASSERT_TRUE(source.plugin().getLibrary().savePresetFile(path));
    EXPECT_EQ(readBytes(path).size(), 1701u);
    InProcessHost target;
    target.plugin().selectProgram(9);
    ASSERT_TRUE(target.plugin().getLibrary().loadPresetFile(path));
    EXPECT_EQ(liveValues(target.plugin()), liveValues(source.plugin()));
    EXPECT_EQ(currentProgramName(target.plugin()), "Lead");
    EXPECT_EQ(target.plugin().getOperatorType(0), kirra::kStereo);
    EXPECT_EQ(target.plugin().getPrograms().getCurrentPreset(), 9);
    EXPECT_EQ(target.plugin().getPrograms().current().values[kMix], 0.4f);
    EXPECT_FALSE(target.plugin().isLoading());
    EXPECT_GE(target.script().updateDisplayCalls, 1);
}

TEST(ProgramLibrary, BankFileFillsABankAndSelectsProgramOneOfTheCurrentBank) {
    TemporaryFolder folder;
    InProcessHost source;
    kirra::Plugin& plugin = source.plugin();
    plugin.selectProgram(0);
    editCurrentProgram(plugin, "First");
    plugin.getPrograms().program(0, 63).setName("Last");
    ASSERT_TRUE(plugin.getLibrary().saveBankFile(0, folder.file("a.vtb")));
    EXPECT_EQ(readBytes(folder.file("a.vtb")).size(), 108045u);

    InProcessHost target;
    kirra::Plugin& loaded = target.plugin();
    loaded.selectProgram(5);
    ASSERT_TRUE(loaded.getLibrary().loadBankFile(2, folder.file("a.vtb")));
    EXPECT_STREQ(loaded.getPrograms().program(2, 63).name, "Last");
    EXPECT_EQ(loaded.getPrograms().getCurrentPreset(), 5);  // another bank: nothing selected
    EXPECT_EQ(loaded.getOperatorType(0), kirra::kGain);

    ASSERT_TRUE(loaded.getLibrary().loadBankFile(0, folder.file("a.vtb")));
    EXPECT_EQ(loaded.getPrograms().getCurrentPreset(), 0);
    EXPECT_EQ(currentProgramName(loaded), "First");
    EXPECT_EQ(liveValues(loaded), liveValues(plugin));
    EXPECT_FALSE(loaded.getLibrary().loadBankFile(3, folder.file("a.vtb")));
}

TEST(ProgramLibrary, WrongDamagedOrMissingFilesChangeNothing) {
    TemporaryFolder folder;
    InProcessHost donor;
    ASSERT_TRUE(donor.plugin().getLibrary().savePresetFile(folder.file("p.vtp")));
    std::vector<uint8_t> preset = readBytes(folder.file("p.vtp"));
    writeBytes(folder.file("short.vtp"), std::vector<uint8_t>(preset.begin(), preset.end() - 1));
    writeBytes(folder.file("header-only.vtb"),
               std::vector<uint8_t>(preset.begin(), preset.begin() + 13));
    writeBytes(folder.file("empty"), {});

    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    editCurrentProgram(plugin, "Mine");
    std::vector<uint8_t> before = chunkOf(plugin);
    kirra::ProgramLibrary& library = plugin.getLibrary();
    // (Images of the other kind are the image tests' own.)
    for (const char* name : {"short.vtp", "empty", "missing.vtp", ""}) {
        EXPECT_FALSE(library.loadPresetFile(folder.file(name))) << name;
    }
    for (const char* name : {"header-only.vtb", "empty", "missing.vtb"}) {
        EXPECT_FALSE(library.loadBankFile(0, folder.file(name))) << name;
    }
    EXPECT_FALSE(library.loadPresetFile("/dev/zero"));
    EXPECT_FALSE(library.savePresetFile(folder.file("no such folder/x.vtp")));
    EXPECT_FALSE(library.saveBankFile(0, folder.path()));  // a folder stays a folder
    EXPECT_EQ(chunkOf(plugin), before);                    // names too
}

// The first bank's program 1 is applied at the start with its own position values, not those of
// a freshly created module.
TEST(ProgramLibrary, DefaultBanksReplaceTheFactoryBanksAtTheNextStart) {
    ScopedConfigHome home;
    const kirra::ProgramStore factory;
    auto bankImage = [](const kirra::ProgramStore& programs, int bank) {
        std::vector<uint8_t> image(kirra::kBankImageBytes);
        kirra::writeBankImage(programs.bank(bank), image.data());
        return image;
    };
    std::vector<uint8_t> saved[2];
    {
        InProcessHost first;
        kirra::ProgramStore& programs = first.plugin().getPrograms();
        programs.program(0, 0).values[kOperatorType1 + 3] = stateValue(kirra::kPhaseInv, 64);
        programs.program(0, 0).values[operatorParameter(3, 0)] = 0.7f;
        programs.program(1, 0).setName("Saved");
        for (int bank : {0, 1}) {
            ASSERT_TRUE(first.plugin().getLibrary().saveDefaultBank(bank));
            saved[bank] = bankImage(programs, bank);
        }
        programs.program(0, 1).setName("Not saved");  // later edits stay behind
        programs.program(2, 1).setName("Not saved");
    }
    {
        InProcessHost second;
        const kirra::ProgramStore& programs = second.plugin().getPrograms();
        EXPECT_EQ(bankImage(programs, 0), saved[0]);
        EXPECT_EQ(bankImage(programs, 1), saved[1]);
        EXPECT_EQ(bankImage(programs, 2), bankImage(factory, 2));
        EXPECT_EQ(second.plugin().getOperatorType(3), kirra::kPhaseInv);
        EXPECT_EQ(second.plugin().getParameter(operatorParameter(3, 0)), 0.7f);
        EXPECT_TRUE(second.plugin().getLibrary().forgetDefaultBank(1));
        EXPECT_TRUE(second.plugin().getLibrary().forgetDefaultBank(1));  // already gone
        EXPECT_FALSE(second.plugin().getLibrary().saveDefaultBank(3));
    }
    InProcessHost third;
    EXPECT_EQ(bankImage(third.plugin().getPrograms(), 1), bankImage(factory, 1));
}

TEST(ProgramLibrary, ClipboardCarriesAProgramToAnotherInstance) {
    ScopedConfigHome home;
    InProcessHost target;
    std::vector<uint8_t> before = chunkOf(target.plugin());
    EXPECT_FALSE(target.plugin().getLibrary().pasteProgram());  // nothing copied yet
    EXPECT_EQ(chunkOf(target.plugin()), before);

    InProcessHost source;
    editCurrentProgram(source.plugin(), "Copied");
    ASSERT_TRUE(source.plugin().getLibrary().copyProgram());
    EXPECT_EQ(readBytes(home.storeFolder() + "/Clipboard").size(), 1701u);
    int displays = target.script().updateDisplayCalls;
    ASSERT_TRUE(target.plugin().getLibrary().pasteProgram());
    EXPECT_EQ(liveValues(target.plugin()), liveValues(source.plugin()));
    EXPECT_EQ(currentProgramName(target.plugin()), "Copied");
    EXPECT_GT(target.script().updateDisplayCalls, displays);

    // A damaged clipboard is ignored.
    writeBytes(home.storeFolder() + "/Clipboard", std::vector<uint8_t>(1701, 0x41));
    target.plugin().setParameter(kMix, 0.9f);
    EXPECT_FALSE(target.plugin().getLibrary().pasteProgram());
    EXPECT_EQ(target.plugin().getParameter(kMix), 0.9f);
}

TEST(ProgramLibrary, DialogsAskForTheRightKindOfFileAndRememberTheChoice) {
    ScopedConfigHome home;
    TemporaryFolder folder;
    const std::string path = folder.file("Pad ü 2.vtp");
    {
        InProcessHost host;
        kirra::ProgramLibrary& library = host.plugin().getLibrary();
        ScriptedChooser chooser;
        chooser.path = path;
        EXPECT_EQ(library.savePreset(chooser), FileDialogResult::kChosen);
        EXPECT_TRUE(chooser.lastRequest.save);
        EXPECT_EQ(chooser.lastRequest.extension, "vtp");
        EXPECT_EQ(library.loadPreset(chooser), FileDialogResult::kChosen);
        EXPECT_FALSE(chooser.lastRequest.save);
        EXPECT_EQ(chooser.lastRequest.directory, folder.path());

        chooser.path = folder.file("all.vtb");
        EXPECT_EQ(library.saveBank(2, chooser), FileDialogResult::kChosen);
        EXPECT_EQ(chooser.lastRequest.extension, "vtb");
        EXPECT_EQ(library.loadBank(2, chooser), FileDialogResult::kChosen);
        EXPECT_EQ(chooser.lastRequest.fileName, "all.vtb");
        // A cancelled dialog changes nothing; a bank that does not exist asks nothing.
        chooser.answer = FileDialogResult::kCancelled;
        chooser.path = "/elsewhere/x.vtb";
        EXPECT_EQ(library.saveBank(0, chooser), FileDialogResult::kCancelled);
        const int calls = chooser.calls;
        EXPECT_EQ(library.loadBank(3, chooser), FileDialogResult::kCancelled);
        EXPECT_EQ(chooser.calls, calls);
    }
    // Kept when the instance went away, read by the next one.
    InProcessHost next;
    const kirra::Preferences& preferences = next.plugin().getLibrary().getPreferences();
    EXPECT_EQ(preferences.getDirectory(), folder.path());
    EXPECT_EQ(preferences.getPresetFileName(), "Pad ü 2.vtp");
    EXPECT_EQ(preferences.getBankFileName(), "all.vtb");
}

TEST(ProgramLibrary, UnusableConfigurationFolderIsIgnored) {
    TemporaryFolder folder;
    writeBytes(folder.file("not-a-folder"), {1, 2, 3});
    {
        ScopedEnvironment home("XDG_CONFIG_HOME", folder.file("not-a-folder"));
        InProcessHost host;
        kirra::ProgramLibrary& library = host.plugin().getLibrary();
        EXPECT_FALSE(library.copyProgram());
        EXPECT_FALSE(library.pasteProgram());
        EXPECT_FALSE(library.saveDefaultBank(0));
        ScriptedChooser chooser;
        chooser.path = folder.file("x.vtp");
        library.savePreset(chooser);  // preferences change and cannot be saved at the end
        EXPECT_STREQ(host.plugin().getPrograms().program(0, 0).name, "[flat]");
    }
    EXPECT_EQ(readBytes(folder.file("not-a-folder")), (std::vector<uint8_t>{1, 2, 3}));
}
