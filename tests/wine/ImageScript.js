// A JScript host of the image members: AddImage's indexes from real files, the module-wide
// Images flag, and each failure's whole text (JScript writes the non-ASCII characters).
// Picture files come from images\ (see images\make-test-images.py); the runner starts the script
// in its own folder, so relative names reach them.
// check, checkEq, thrown and finish come from ScriptChecks.js, which the runner puts first.

function newControl() { return new ActiveXObject("RamvelProj1.Ramvel"); }

var fso = new ActiveXObject("Scripting.FileSystemObject");
var BAD_SIZE = "Taille de l'image non valide", BAD_BITMAP = "Image de bitmap non valide";
var BAD_ICON = "Image d'ic\u00f4ne non valide", READ_ERROR = "Erreur de lecture du flux";
var CANNOT_REPLACE = "Impossible de remplacer l'image";
var NO_LIST = "No image list is shown: switch images on (Images or ImageList) first.";

// --- Indexes from real files -----------------------------------------------------------------
var r = newControl();
var added = [
    ["images\\icon16-32bit.ico", 42], ["images\\strip48x16.bmp", 43], ["images\\magenta16.bmp", 46],
    ["images\\icon32-png.ico", 47], ["images\\icon-multi.iCo", 48]
];
for (var i = 0; i < added.length; i++) checkEq(r.AddImage(added[i][0]), added[i][1], "AddImage " + added[i][0]);
r.ReplaceImage(-1, "images\\icon-multi.ico");
checkEq(r.AddImage("images\\icon16-32bit.ico"), 50, "AddImage after ReplaceImage(-1) appended");
r.ImageList = 2;
checkEq(r.AddImage("images\\icon16-32bit.ico"), 87, "AddImage to the alternate list");
r.ImageList = 1;
r.imageSize(32, 32);
checkEq(r.AddImage("images\\icon-multi.ico"), 0, "AddImage after imageSize(32, 32)");

// --- Each failure: E_UNEXPECTED, the control as source, the whole text ---------------------
r = newControl();
var missing = fso.GetAbsolutePathName("images\\missing.bmp");
var failing = [
    // [what, call, expected text or, for a file that cannot be opened, its start]
    ["truncated bitmap", function () { r.AddImage("images\\truncated.bmp"); }, READ_ERROR],
    ["text named .bmp", function () { r.AddImage("images\\not-a-bitmap.bmp"); }, BAD_BITMAP],
    ["4-byte icon", function () { r.AddImage("images\\short.ico"); }, READ_ERROR],
    ["cursor named .ico", function () { r.AddImage("images\\cursor.ico"); }, BAD_ICON],
    ["8 by 8 icon", function () { r.AddImage("images\\icon8.ico"); }, BAD_SIZE],
    ["8 by 8 bitmap", function () { r.AddImage("images\\bitmap8.bmp"); }, BAD_SIZE],
    ["icon in a dotted folder", function () { r.AddImage("images\\my.icons\\in-dotted-folder.ico"); }, BAD_BITMAP],
    ["bitmap at -1", function () { r.ReplaceImage(-1, "images\\magenta16.bmp"); }, CANNOT_REPLACE],
    ["icon past the end", function () { r.ReplaceImage(42, "images\\icon16-32bit.ico"); }, CANNOT_REPLACE],
    ["zero width", function () { r.imageSize(0, 16); }, BAD_SIZE],
    ["height past 1024", function () { r.imageSize(16, 1025); }, BAD_SIZE],
    ["missing file", function () { r.AddImage("images\\missing.bmp"); },
     "Impossible d'ouvrir le fichier \"" + missing + "\". "]
];
for (i = 0; i < failing.length; i++) {
    var what = failing[i][0], expected = failing[i][2];
    var e = thrown(failing[i][1]);
    check(e !== null, what + " must throw");
    if (!e) continue;
    checkEq(e.number >>> 0, 0x8000FFFF, what + " e.number");
    if (what === "missing file") {
        checkEq(e.description.substr(0, expected.length), expected, what + " e.description");
        check(e.description.length > expected.length, what + ": the system's text follows");
    } else {
        checkEq(e.description, expected, what + " e.description");
    }
}
checkEq(r.AddImage("images\\icon16-32bit.ico"), 42, "AddImage after the failures: no list changed");

// --- Images = false reaches controls made later, until some control's Images = true --------
var first = newControl();
first.Images = false;
checkEq(first.ImageList, 0, "ImageList after Images = false");
checkEq(first.Images, false, "Images after Images = false");
var later = newControl();
checkEq(later.ImageList, 0, "ImageList of a control made after Images = false");
var e2 = thrown(function () { later.AddImage("images\\icon16-32bit.ico"); });
checkEq(e2 && e2.description, NO_LIST, "AddImage with no list shown");
later.Images = true;
checkEq(later.ImageList, 1, "ImageList after Images = true");
checkEq(newControl().Images, true, "Images of a control made after Images = true");

r = null; first = null; later = null;
finish();
