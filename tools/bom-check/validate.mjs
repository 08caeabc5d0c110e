// Checks each bill of materials named on the command line against the CycloneDX schema of the
// version it declares, strictly (no member the schema does not define), and that every package
// URL in it parses; with --notices, that the bill's Qt is the source revision the notices name
// and holds each third-party part they name. Prints what is wrong and ends non-zero when
// anything is.
//   node validate.mjs [--notices LICENSES.txt] FILE.cdx.json...
import { readFile } from "node:fs/promises";
import { PackageURL } from "packageurl-js";
import CDX from "@cyclonedx/cyclonedx-library";

const args = process.argv.slice(2);
let notices = null;
if (args[0] === "--notices") {
    notices = await readFile(args[1], "utf8");
    args.splice(0, 2);
}

// What the notices say of Qt: the Debian source revision, and the name of each third-party part
// (the first line after each separator).
function fromNotices(text) {
    const revision = text.match(/the source package qt6-base (\S+) of/)?.[1];
    const parts = text
        .split("\n------------------------------------------------------------\n")
        .slice(1)
        .map((part) => part.split("\n")[0]);
    return { revision, parts };
}

// What the bill says against the notices, one line a difference.
function againstNotices(bom, text) {
    const { revision, parts } = fromNotices(text);
    const qt = bom.components?.find((component) => component.name === "qtbase");
    if (!qt) return ["no qtbase component"];
    const wrong = [];
    const purl = `pkg:deb/debian/qt6-base@${encodeURIComponent(revision)}?arch=source`;
    if (qt.purl !== purl) wrong.push(`qtbase is ${qt.purl}, the notices name ${purl}`);
    const named = new Set((qt.components ?? []).map((part) => part.name));
    for (const part of parts) if (!named.has(part)) wrong.push(`no part "${part}" under qtbase`);
    if (named.size !== parts.length)
        wrong.push(`${named.size} parts under qtbase, ${parts.length} in the notices`);
    return wrong;
}

let failed = false;
for (const file of args) {
    const text = await readFile(file, "utf8");
    const bom = JSON.parse(text);
    const validator = new CDX.Validation.JsonStrictValidator(bom.specVersion);
    const errors = await validator.validate(text);
    const purls = [];
    const walk = (components) => {
        for (const component of components ?? []) {
            if (component.purl) purls.push(component.purl);
            walk(component.components);
        }
    };
    walk([bom.metadata?.component, ...(bom.components ?? [])]);
    const badPurls = purls.filter((purl) => {
        try {
            PackageURL.fromString(purl);
            return false;
        } catch {
            return true;
        }
    });
    const unlike = notices ? againstNotices(bom, notices) : [];
    if (errors || badPurls.length > 0 || unlike.length > 0) {
        failed = true;
        console.error(`${file}: not valid CycloneDX ${bom.specVersion}`);
        if (errors) console.error(JSON.stringify(errors, null, 2));
        for (const purl of badPurls) console.error(`  not a package URL: ${purl}`);
        for (const line of unlike) console.error(`  against the notices: ${line}`);
    } else {
        console.log(`${file}: valid CycloneDX ${bom.specVersion}, ${purls.length} package URLs`);
    }
}
process.exit(failed ? 1 : 0);
