#pragma once
// TMyRamvel: the control object. Builds, edits, walks and reports its tree, and turns the tree
// widget's notifications into host events.
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "control/Fields.h"
#include "control/ModuleState.h"
#include "control/RamvelError.h"
#include "control/TreeModel.h"
#include "images/ImageFile.h"
#include "images/ImageList.h"
#include "platform/EventSink.h"
#include "platform/FileReader.h"
#include "platform/FormEvents.h"
#include "platform/FormWindow.h"
#include "properties/FormSettings.h"
#include "properties/SavedSettings.h"
#include "platform/MessageBox.h"
#include "platform/TreeWidget.h"

namespace ramvel {

class TMyRamvel : public ITreeEvents, public IFormEvents {
public:
    // `moduleFileName` is the file name of the module (e.g. "Ramvel.ocx"), used to caption
    // the boxes that report errors inside notification handlers.
    TMyRamvel(IMessageBox& messageBox, std::u16string moduleFileName);
    // The same, with node handles from `handles` instead of the module's table (tests).
    TMyRamvel(IMessageBox& messageBox, std::u16string moduleFileName, HandleTable& handles);
    ~TMyRamvel() override;

    // Wiring done by whoever builds the object, before FormCreate.
    void AttachWidget(ITreeWidget& widget) { TView = &widget; }
    void AttachFileReader(IFileReader& files) { files_ = &files; }
    // The form's windows; the settings start over for its screen and are applied at once.
    void AttachFormWindow(IFormWindow& form);
    void FormCreate();

    const TreeModel& Tree() const { return tree_; }
    TreeModel& Tree() { return tree_; }

    // Wires the form's notifications to their handlers: until then they raise nothing.
    void Initialize() { formWired_ = true; }

    // The host's event sink, or none. The first sink to connect receives OnCreate: the form's
    // creation happens before any host can connect.
    std::shared_ptr<IEventSink> FEvents;
    void SetEventSink(std::shared_ptr<IEventSink> sink);

    // Building and editing.
    void AddNodes(std::u16string_view nodeParm);
    std::u16string AddAfterNode(std::int32_t node, std::u16string_view nodeParm);
    void AddAfterCurrentNode(std::u16string_view nodeParm);
    void ChangeNode(std::int32_t nodeNumber, std::u16string_view nodevalue);
    void DeleteNode(std::int32_t nodeNumber);
    void DeleteHNode(NodeHandle hNode);
    void Clear();
    void Refresh();
    bool GetTreeRefresh() const;
    void SetTreeRefresh(bool value);
    void ReleaseNodeRecords();

    // Navigating and querying.
    std::u16string GoToNode(std::int32_t index);
    std::u16string GotohNode(NodeHandle hNode);
    std::u16string GetNode(std::int32_t index);
    std::u16string GethNode(NodeHandle hNode);
    std::u16string GetSelectedNode();
    NodeHandle GethSelectedNode() const;
    std::u16string getParent(NodeHandle hNode);
    NodeHandle FirstChild(NodeHandle hNode);
    NodeHandle LastChild(NodeHandle hNode);
    NodeHandle NextSibling(NodeHandle hNode);
    std::int32_t ChildrenNumber(NodeHandle hNode);
    bool GetExpanded(NodeHandle hNode);
    void SetExpanded(NodeHandle hNode, bool value);
    void storeHNode(NodeHandle hNode);

    // Images. The stored lists are put into ImageList1 and AlternateImageList before
    // FormCreate; ImageList2 is filled from ImageList1 there.
    ImageList ImageList1, ImageList2, AlternateImageList;
    std::int32_t GetImageList() const;
    void SetImageList(std::int32_t value);
    bool GetImages() const;
    void SetImages(std::int16_t value);
    void ClearImages();
    void imageSize(std::int32_t width, std::int32_t height);
    void resetImages();
    std::int32_t AddImage(std::u16string_view imageName);
    void ReplaceImage(std::int32_t index, std::u16string_view imageName);

    // Node lines and node info text.
    void ApplyNodeLine(NodeHandle node, std::u16string_view line);
    std::u16string BuildNodeInfo(NodeHandle node);
    std::u16string BuildNodeInfo(Node& node);
    // From the node's texts and header alone; index: the node's, known already.
    static std::u16string BuildNodeInfo(const TreeModel::IndexedTexts& node, std::int32_t index);
    std::u16string AddAfterNodeReply(NodeHandle node);

    // Tree event handlers.
    void TViewChange(NodeHandle node);
    void TViewExpanded(NodeHandle node);
    void TViewCollapsed(NodeHandle node);
    void TViewDblClick();
    void TViewEnter();
    void TViewKeyPress(char16_t& key);
    void TViewMouseDown(MouseButton button, ShiftState shift, int x, int y);

    // Form event handlers.
    void FormActivate();
    void FormDeactivate();
    void FormClick();
    void FormDblClick();
    void FormKeyPress(char16_t& key);
    void FormPaint();
    // The destruction handler: releases every node record, then raises OnDestroy; runs once.
    // Its owner calls it before the form's windows go.
    void FormDestroy();
    bool GetKeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }

    // Properties of the tree and of the form. Enumerations keep their low 8 bits.
    const FormSettings& Settings() const { return settings_; }
    void SetLines(bool value);
    void SetButtons(bool value);
    void SetTrack(bool value);
    std::u16string GetFontName() const { return settings_.treeFont.name; }
    void SetFontName(std::u16string_view value);
    std::int32_t GetFontSize() const { return PointsOf(settings_.treeFont); }
    void SetFontSize(std::int32_t value);
    // The form's font; it reaches the tree while the tree inherits it.
    const FontSettings& FormFont() const { return settings_.formFont; }
    void SetFormFont(const FontSettings& font);
    std::uint32_t GetColor() const { return settings_.colour; }
    void SetColor(std::uint32_t value);
    const std::u16string& GetCaption() const { return settings_.caption; }
    void SetCaption(std::u16string_view value);
    bool GetVisible() const;
    void SetVisible(bool value);
    bool GetEnabled() const { return settings_.enabled; }
    void SetEnabled(bool value);
    std::int32_t GetAxBorderStyle() const { return settings_.borderStyle; }
    void SetAxBorderStyle(std::int32_t value);
    std::int32_t GetBiDiMode() const { return settings_.bidiMode; }
    void SetBiDiMode(std::int32_t value);
    std::int32_t GetPrintScale() const { return settings_.printScale; }
    void SetPrintScale(std::int32_t value) { settings_.printScale = static_cast<std::uint8_t>(value); }
    std::int16_t GetCursor() const { return settings_.cursor; }
    void SetCursor(std::int16_t value);
    bool GetDoubleBuffered() const { return settings_.doubleBuffered; }
    void SetDoubleBuffered(bool value);
    bool GetAutoScroll() const { return settings_.autoScroll; }
    void SetAutoScroll(bool value);
    bool GetAutoSize() const { return settings_.autoSize; }
    void SetAutoSize(bool value);
    bool GetDropTarget() const { return settings_.dropTarget; }
    void SetDropTarget(bool value) { settings_.dropTarget = value; }
    const std::u16string& GetHelpFile() const { return settings_.helpFile; }
    void SetHelpFile(std::u16string_view value) { settings_.helpFile = value; }
    std::int32_t GetPixelsPerInch() const;
    void SetPixelsPerInch(std::int32_t value);
    bool GetScaled() const { return settings_.storedPixelsPerInch != 0; }
    void SetScaled(bool value);
    bool GetActive() const;

    // The settings a container saves (SavedSettings.h): as they are now, as a new control has
    // them, and applied through the properties' own setters.
    SavedSettings CurrentSettings() const;
    SavedSettings NewControlSettings() const;
    void ApplySettings(const SavedSettings& settings);

    // While held (a container in design mode, or one that froze events), no host event is
    // raised; what raised it goes on as without a sink.
    void HoldEvents(bool held) { eventsHeld_ = held; }
    bool EventsHeld() const { return eventsHeld_; }

    // IFormEvents: the form's notifications, once wired, through the handlers' error reporting.
    void FormActivated() override;
    void FormDeactivated() override;
    void FormClicked() override;
    void FormDoubleClicked() override;
    void FormKeyPressed(char16_t& key) override;
    void FormPainted() override;

    // ITreeEvents: the widget's notifications, each run through the handlers' error reporting.
    void WidgetSelectionChanged(NodeHandle node) override;
    void WidgetExpansionChanged(NodeHandle node, bool expanded) override;
    void WidgetDblClick() override;
    void WidgetEnter() override;
    void WidgetKeyPress(char16_t& key) override;
    void WidgetMouseDown(MouseButton button, ShiftState shift, int x, int y) override;

    // Shows an error raised inside a notification handler in an error box.
    void ReportHandlerError(const std::u16string& message);
    std::u16string ErrorCaption() const;

    std::int32_t UpdateCount() const { return updateCount_; }

private:
    void BeginUpdate();
    void EndUpdate();
    // Begin update now, end update when the scope ends, however it ends.
    struct UpdateScope {
        explicit UpdateScope(TMyRamvel& c) : control(c) { control.BeginUpdate(); }
        ~UpdateScope() { control.EndUpdate(); }
        TMyRamvel& control;
    };
    void ShowList(ImageList* list);
    ImageList& ShownList();
    void ImagesChanged(const ImageList& list, std::int32_t firstChanged);
    ImageFile ReadImage(const ImageList& list, std::u16string_view imageName);
    void SetTreeFont(const FontSettings& font);
    void SelectNode(NodeHandle node);
    NodeHandle AddNode(NodeHandle parent, std::u16string_view text);
    NodeHandle AddPlaced(NodeHandle anchor, std::int32_t level, std::u16string_view text);
    using LineFields = FieldSplit<6>;
    using RecordParts = FieldSplit<3>;
    // Applies a node line to a node; with `newText`, its shown text changes with its record.
    // Out of memory, it throws std::bad_alloc and leaves the node as it was.
    void ApplyNodeLine(Node& node, const LineFields& fields, std::optional<std::u16string_view> newText = {});
    // Runs `finish` on a node just added. Out of memory there, the node goes again, so that no
    // node is left without its record.
    template <typename F>
    auto FinishNewNode(NodeHandle node, F&& finish) {
        try {
            return finish();
        } catch (const std::bad_alloc&) {
            if (tree_.Contains(node)) RemoveSubtree(node);
            throw;
        }
    }
    void AddNodeLine(std::u16string_view line);
    void RemoveSubtree(NodeHandle node);
    void ShowWarning(const std::u16string& text);
    // Runs a handler; an error inside it goes to the error box, never further.
    template <typename F>
    void RunHandler(F&& handler) {
        try {
            handler();
        } catch (const RamvelError& error) {
            ReportHandlerError(error.Message());
        } catch (const std::bad_alloc&) {
            ReportHandlerError(u"Out of memory");
        }
    }

    // The host's sink unless events are held.
    std::shared_ptr<IEventSink> Events() const { return eventsHeld_ ? nullptr : FEvents; }

    TreeModel tree_;
    ITreeWidget* TView = nullptr;
    IFileReader* files_ = nullptr;
    IFormWindow* form_ = nullptr;
    FormSettings settings_;
    ImageList* shownList_ = nullptr;  // &ImageList1, &AlternateImageList or none
    bool formWired_ = false;
    bool createRaised_ = false;
    bool destroyed_ = false;
    bool keyPreview_ = false;
    bool eventsHeld_ = false;
    IMessageBox& messageBox_;
    std::u16string moduleFileName_;
    std::int32_t updateCount_ = 0;
    LevelEntries batchLevels_{};     // the level table while this control adds node lines
    std::int32_t levelBatchDepth_ = 0;
    std::u16string recordScratch_;  // reused while records are built
};

}  // namespace ramvel
