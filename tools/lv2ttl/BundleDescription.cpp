#include "lv2ttl/BundleDescription.h"

#include <sstream>

#include "engine/FactoryBanks.h"
#include "engine/ParameterDescription.h"
#include "engine/ProgramImages.h"
#include "engine/Version.h"
#include "lv2/Identifiers.h"
#include "lv2/PortLayout.h"
#include "lv2ttl/Turtle.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace lv2ttl {

using namespace kirra;
using namespace kirra::lv2;

namespace {

const char* const kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pg: <http://lv2plug.in/ns/ext/port-groups#> .\n"
    "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string uri(const std::string& text) {
    return "<" + text + ">";
}

// "A01" to "C64".
std::string programNumber(int bank, int program) {
    char number[16];
    std::snprintf(number, sizeof(number), "%c%02d", 'A' + bank, program + 1);
    return number;
}

std::string presetUri(int bank, int program) {
    return uri(kPresetUriPrefix + programNumber(bank, program));
}

std::string presetLabel(int bank, int program) {
    return quoted(programNumber(bank, program) + " " + factoryBank(bank).names[program]);
}

// What the host shows for a state of a discrete parameter. Module types are named by the module
// the state puts in the slot, which is what its display shows once the module is there.
std::string stateLabel(int index, int state) {
    const ParameterGroup group = parameterGroup(index);
    if (group == ParameterGroup::kOperatorType) return operatorCatalogue(state).shortName;
    if (group == ParameterGroup::kModulatorType) return modulatorCatalogue(state).shortName;
    ModuleText text = "";
    parameterDisplay(index, indexToValue(state, describeParameter(index).states),
                     ParameterContext{}, text);
    return text;
}

// A parameter's port. Module positions mean what the module in the slot makes of them, so they
// are plain 0..1 values; a switch is a toggle, a choice among named states an enumeration, and a
// discrete value without names a stepped range.
void describeParameterPort(std::ostringstream& out, int index) {
    const ParameterDescriptor& row = describeParameter(index);
    out << "\t\ta lv2:InputPort, lv2:ControlPort ;\n"
        << "\t\tlv2:index " << index << " ;\n"
        << "\t\tlv2:symbol " << quoted(parameterSymbol(index)) << " ;\n"
        << "\t\tlv2:name " << quoted(parameterPortName(index)) << " ;\n"
        << "\t\tlv2:default " << number(publishedDefault(index)) << " ;\n"
        << "\t\tlv2:minimum 0.0 ;\n\t\tlv2:maximum 1.0";
    if (isHiddenParameter(index)) out << " ;\n\t\tlv2:portProperty pprops:notOnGUI";
    if (row.states == 2 && row.offeredStates == 2) {
        out << " ;\n\t\tlv2:portProperty lv2:toggled";
    } else if (row.states > 0 && row.offeredStates > 0) {
        out << " ;\n\t\tlv2:portProperty lv2:enumeration ;\n\t\tlv2:scalePoint";
        for (int state = 0; state < row.offeredStates; ++state) {
            out << (state == 0 ? " [\n" : " , [\n") << "\t\t\trdfs:label "
                << quoted(stateLabel(index, state)) << " ;\n\t\t\trdf:value "
                << number(indexToValue(state, row.states)) << "\n\t\t]";
        }
    } else if (row.states > 0) {
        out << " ;\n\t\tlv2:portProperty pprops:hasStrictBounds ;\n\t\tpprops:rangeSteps "
            << row.states;
    }
    out << "\n";
}

struct AudioPort {
    uint32_t index;
    const char* symbol;
    const char* name;
    const char* group;
    const char* channel;
    bool output;
    bool sidechain;
};

void describeAudioPort(std::ostringstream& out, const AudioPort& port) {
    out << "\t\ta " << (port.output ? "lv2:OutputPort" : "lv2:InputPort")
        << ", lv2:AudioPort ;\n\t\tlv2:index " << port.index << " ;\n\t\tlv2:symbol "
        << quoted(port.symbol) << " ;\n\t\tlv2:name " << quoted(port.name) << " ;\n\t\tpg:group "
        << uri(std::string(kPluginUri) + "#" + port.group)
        << " ;\n\t\tlv2:designation pg:" << port.channel;
    // Hosts may leave the sidechain unconnected; the main input then stands in for it.
    if (port.sidechain) {
        out << " ;\n\t\tlv2:portProperty lv2:isSideChain, lv2:connectionOptional";
    }
    out << "\n";
}

void describeGroups(std::ostringstream& out) {
    const std::string plugin = kPluginUri;
    out << uri(plugin + "#main_in")
        << "\n\ta pg:StereoGroup, pg:InputGroup ;\n\tlv2:symbol \"main_in\" ;\n"
           "\trdfs:label \"Input\" .\n\n"
        << uri(plugin + "#sidechain_in")
        << "\n\ta pg:StereoGroup, pg:InputGroup ;\n\tlv2:symbol \"sidechain_in\" ;\n"
           "\trdfs:label \"Sidechain\" ;\n\tpg:sideChainOf "
        << uri(plugin + "#main_in") << " .\n\n"
        << uri(plugin + "#main_out")
        << "\n\ta pg:StereoGroup, pg:OutputGroup ;\n\tlv2:symbol \"main_out\" ;\n"
           "\trdfs:label \"Output\" .\n\n";
}

std::string describePlugin(bool withUi) {
    std::ostringstream out;
    const std::string plugin = kPluginUri;
    out << kPrefixes;
    describeGroups(out);
    out << uri(plugin) << "\n\ta lv2:Plugin, lv2:ModulatorPlugin ;\n\tdoap:name \"Kirra\" ;\n"
        << "\tdoap:maintainer [\n\t\tfoaf:name \"Vantor\"\n\t] ;\n"
        << "\tdoap:release [\n\t\tdoap:revision " << quoted(kVersionText) << "\n\t] ;\n"
        << "\tlv2:minorVersion " << kVersionMinor << " ;\n\tlv2:microVersion " << kVersionPatch
        << " ;\n\tlv2:requiredFeature urid:map ;\n"
        << "\tlv2:optionalFeature lv2:hardRTCapable, opts:options ;\n"
        << "\topts:supportedOption bufsz:maxBlockLength ;\n"
        << "\tlv2:extensionData state:interface ;\n"
        << "\tpg:mainInput " << uri(plugin + "#main_in") << " ;\n\tpg:mainOutput "
        << uri(plugin + "#main_out") << " ;\n";
    if (withUi) out << "\tui:ui " << uri(kUiUri) << " ;\n";
    out << "\tlv2:port";
    const char* separator = " [\n";
    auto next = [&] {
        out << separator;
        separator = "\t] , [\n";
    };
    for (int index = 0; index < static_cast<int>(kParameterPorts); ++index) {
        next();
        describeParameterPort(out, index);
    }
    const AudioPort audio[] = {
        {kAudioInLeft, "in_l", "Input left", "main_in", "left", false, false},
        {kAudioInRight, "in_r", "Input right", "main_in", "right", false, false},
        {kSidechainLeft, "side_l", "Sidechain left", "sidechain_in", "left", false, true},
        {kSidechainRight, "side_r", "Sidechain right", "sidechain_in", "right", false, true},
        {kAudioOutLeft, "out_l", "Output left", "main_out", "left", true, false},
        {kAudioOutRight, "out_r", "Output right", "main_out", "right", true, false},
    };
    for (const AudioPort& port : audio) {
        next();
        describeAudioPort(out, port);
    }
    next();
    out << "\t\ta lv2:InputPort, atom:AtomPort ;\n\t\tlv2:index " << kEventsIn
        << " ;\n\t\tlv2:symbol \"events\" ;\n\t\tlv2:name \"MIDI and transport\" ;\n"
        << "\t\tatom:bufferType atom:Sequence ;\n"
        << "\t\tatom:supports midi:MidiEvent, time:Position ;\n"
        << "\t\tlv2:designation lv2:control ;\n\t\tlv2:portProperty lv2:connectionOptional\n";
    next();
    out << "\t\ta lv2:OutputPort, lv2:ControlPort ;\n\t\tlv2:index " << kLatencyOut
        << " ;\n\t\tlv2:symbol \"latency\" ;\n\t\tlv2:name \"Latency\" ;\n"
        << "\t\tlv2:minimum 0 ;\n\t\tlv2:maximum " << kLongestLatency << " ;\n"
        << "\t\tlv2:designation lv2:latency ;\n"
        << "\t\tlv2:portProperty lv2:reportsLatency, lv2:integer ;\n\t\tunits:unit units:frame\n"
        << "\t] .\n";
    if (withUi) {
        out << "\n"
            << uri(kUiUri) << "\n\ta ui:X11UI ;\n\tlv2:binary " << uri(kBinaryFile) << " ;\n"
            << "\tlv2:requiredFeature ui:idleInterface, ui:parent,\n"
            << "\t\t<http://lv2plug.in/ns/ext/instance-access> ;\n"
            << "\tlv2:optionalFeature ui:resize, ui:noUserResize ;\n"
            << "\tlv2:extensionData ui:idleInterface, ui:resize .\n";
    }
    return out.str();
}

std::string describeManifest(bool withUi) {
    std::ostringstream out;
    out << "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
        << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        << "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n\n"
        << uri(kPluginUri) << "\n\ta lv2:Plugin ;\n\tlv2:binary " << uri(kBinaryFile)
        << " ;\n\trdfs:seeAlso " << uri(kPluginFile) << " .\n";
    if (withUi) {
        out << "\n"
            << uri(kUiUri) << "\n\ta ui:X11UI ;\n\tlv2:binary " << uri(kBinaryFile)
            << " ;\n\trdfs:seeAlso " << uri(kPluginFile) << " .\n";
    }
    // Labels here let hosts list the presets without reading them all.
    for (int bank = 0; bank < kFactoryBankCount; ++bank) {
        for (int program = 0; program < FactoryBank::kPrograms; ++program) {
            out << "\n"
                << presetUri(bank, program) << "\n\ta pset:Preset ;\n\tlv2:appliesTo "
                << uri(kPluginUri) << " ;\n\trdfs:label " << presetLabel(bank, program)
                << " ;\n\trdfs:seeAlso " << uri(kPresetsFile) << " .\n";
        }
    }
    return out.str();
}

// A factory preset: the ports' values for the host's controls, and the program itself, which
// restores all of it (the parameters the host does not see included) as selecting it would.
std::string describePresets() {
    std::ostringstream out;
    out << kPrefixes;
    uint8_t image[kPresetImageBytes];
    for (int bank = 0; bank < kFactoryBankCount; ++bank) {
        const FactoryBank& factory = factoryBank(bank);
        for (int program = 0; program < FactoryBank::kPrograms; ++program) {
            const float* values = factory.values[program];
            out << presetUri(bank, program) << "\n\ta pset:Preset ;\n\tlv2:appliesTo "
                << uri(kPluginUri) << " ;\n\trdfs:label " << presetLabel(bank, program)
                << " ;\n\tlv2:port";
            for (int index = 0; index < static_cast<int>(kParameterPorts); ++index) {
                out << (index == 0 ? " [\n" : " , [\n") << "\t\tlv2:symbol "
                    << quoted(parameterSymbol(index)) << " ;\n\t\tpset:value "
                    << number(sanitizeUnit(values[index])) << "\n\t]";
            }
            writePresetImage(factory.names[program], values, image);
            out << " ;\n\tstate:state [\n\t\t" << uri(kProgramUri) << " "
                << base64Literal(image, sizeof(image)) << "\n\t] .\n\n";
        }
    }
    return out.str();
}

}  // namespace

BundleFiles describeBundle(bool withUi) {
    return {describeManifest(withUi), describePlugin(withUi), describePresets()};
}

}  // namespace lv2ttl
