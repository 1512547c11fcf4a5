// Anchors the dialogs library until its windows gain code of their own.
namespace quillfen::dialogs {
int Anchor() { return 0; }
} // namespace quillfen::dialogs
