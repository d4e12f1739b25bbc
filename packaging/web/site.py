#!/usr/bin/python3
"""Puts the course's web site together (build-web/site/) and the single-file course.

  site.py fonts  OUT_DIR SOURCE...          the faces the course draws with, cut down to the
                                            characters in SOURCE files, with their licences
  site.py page   TEMPLATE OUT --title T --icon I --script S... --file NAME[:FACTOR]...
                                            index.html: the page, the files the loader fetches
  site.py single SITE_DIR OUT               every file of the site inside one HTML file
"""
import argparse
import base64
import datetime
import gzip
import json
import os
import re
import shutil
import subprocess
import sys

# The faces that stand in for the designed ones on Linux, from Debian's packages; the browser
# draws with the same files, so that lines break where they do on Linux.
ARPHIC = '/usr/share/fonts/truetype/arphic'
FACES = [
    # (file in the site, source file, family inside a collection, cut down to the course's text)
    ('uming-tw.ttf', f'{ARPHIC}/uming.ttc', 'AR PL UMing TW', True),
    ('ukai-tw.ttf', f'{ARPHIC}/ukai.ttc', 'AR PL UKai TW', True),
    # The reserved font name forbids a changed file under it: shipped whole (digits and the
    # title's Latin letters are all the course draws in it).
    ('LiberationSerif-Bold.ttf', '/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf',
     None, False),
]
LICENCES = [
    ('ARPHICPL.TXT', '/usr/share/doc/fonts-arphic-uming/license/english/ARPHICPL.TXT.gz'),
    ('copyright-fonts-arphic-uming', '/usr/share/doc/fonts-arphic-uming/copyright'),
    ('copyright-fonts-arphic-ukai', '/usr/share/doc/fonts-arphic-ukai/copyright'),
    ('copyright-fonts-liberation2', '/usr/share/doc/fonts-liberation2/copyright'),
]
# Texts the course shows that are not in its sources: Qt's own, translated.
EXTRA_TEXT = '確定取消關閉是否'
STRING = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def course_characters(sources):
    """Every character of every string literal in the C++ sources, every character of the page's
    own files (its texts are not in quotes), and printable ASCII."""
    chars = set(chr(c) for c in range(0x20, 0x7f))
    chars.update(EXTRA_TEXT)
    for path in sources:
        with open(path, encoding='utf-8') as f:
            text = f.read()
        if path.endswith(('.html', '.html.in', '.js')):
            chars.update(text)
        else:
            for literal in STRING.findall(text):
                chars.update(literal)
    chars.update('\u3000\uff0c\u3002\uff1a\uff1b\uff01\uff1f\u300c\u300d\u300e\u300f\uff08\uff09')
    return ''.join(sorted(c for c in chars if c >= ' '))


def change_date():
    """When the cut-down faces were changed: the sources' last commit, for a repeatable build."""
    if 'SOURCE_DATE_EPOCH' in os.environ:
        stamp = int(os.environ['SOURCE_DATE_EPOCH'])
    else:
        here = os.path.dirname(os.path.abspath(__file__))
        try:
            stamp = int(subprocess.run(['git', '-C', here, 'log', '-1', '--format=%ct'],
                                       capture_output=True, text=True, check=True).stdout)
        except (OSError, ValueError, subprocess.CalledProcessError):
            stamp = 0
    return datetime.datetime.fromtimestamp(stamp, datetime.timezone.utc).date().isoformat()


def subset(source, family, text, out, notice):
    from fontTools import subset as fts
    from fontTools.ttLib import TTCollection, TTFont
    if family:
        fonts = TTCollection(source).fonts
        font = next(f for f in fonts if f['name'].getDebugName(1) == family)
    else:
        font = TTFont(source)
    options = fts.Options()
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    options.glyph_names = False
    options.hinting = True
    options.layout_features = ['*']
    subsetter = fts.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    # The licence asks each changed file to say how and when it was changed.
    names = font['name']
    for record in list(names.names):
        if record.nameID == 5:
            record.string = record.toUnicode() + '; ' + notice
    font.save(out)


def command_fonts(args):
    os.makedirs(args.out, exist_ok=True)
    text = course_characters(args.sources)
    notice = (f'cut down on {change_date()} by the Lumora build to the {len(text)} characters '
              'the course shows')
    for name, source, family, cut in FACES:
        out = os.path.join(args.out, name)
        if cut:
            subset(source, family, text, out, notice)
        else:
            shutil.copyfile(source, out)
    for name, source in LICENCES:
        opener = gzip.open if source.endswith('.gz') else open
        with opener(source, 'rb') as f, open(os.path.join(args.out, name), 'wb') as o:
            o.write(f.read())
    with open(os.path.join(args.out, 'README.txt'), 'w', encoding='utf-8') as f:
        f.write('The faces the course draws its texts with.\n\n')
        for name, source, family, cut in FACES:
            what = f'{family} from {source}' if family else os.path.basename(source)
            how = f', {notice}' if cut else ', unchanged'
            f.write(f'{name}: {what}{how}.\n')
        f.write('\nTheir licences: ARPHICPL.TXT (the AR PL faces) and the copyright-* files.\n')


def command_page(args):
    files = []
    for entry in args.file:
        name, _, factor = entry.partition(':')
        files.append({'name': name, 'factor': int(factor)} if factor else {'name': name})
    with open(args.template, encoding='utf-8') as f:
        page = f.read()
    scripts = '\n'.join(f'<script src="{s}"></script>' for s in args.script)
    page = (page.replace('@LUMORA_WEB_TITLE@', args.title)
                .replace('@LUMORA_WEB_ICON@', args.icon)
                .replace('@LUMORA_WEB_MANIFEST@',
                         json.dumps({'files': files}, ensure_ascii=False, separators=(',', ':')))
                .replace('@LUMORA_WEB_SCRIPTS@', scripts))
    with open(args.out, 'w', encoding='utf-8') as f:
        f.write(page)


def command_single(args):
    """index.html with its scripts written in, and every file it would fetch inside it."""
    site = args.site
    with open(os.path.join(site, 'index.html'), encoding='utf-8') as f:
        page = f.read()
    manifest = json.loads(re.search(r'window\.lumoraSite = (.*?);</script>', page).group(1))
    inside = {}
    for entry in manifest['files'] + [{'name': 'lumora.wasm'}]:
        path = os.path.join(site, entry['name'])
        if os.path.isfile(path):
            with open(path, 'rb') as f:
                inside[entry['name']] = base64.b64encode(f.read()).decode('ascii')

    def script(match):
        with open(os.path.join(site, match.group(1)), encoding='utf-8') as f:
            # A script's text must not close its own element.
            return '<script>' + f.read().replace('</script', '<\\/script') + '</script>'

    page = re.sub(r'<script src="([^"]+)"></script>', script, page)

    def font(match):
        with open(os.path.join(site, match.group(1)), 'rb') as f:
            return 'url("data:font/ttf;base64,' + base64.b64encode(f.read()).decode('ascii') + '")'

    page = re.sub(r'url\("([^"]+\.ttf)"\)', font, page)
    with open(os.path.join(site, re.search(r'rel="icon" type="image/png" href="([^"]+)"',
                                           page).group(1)), 'rb') as f:
        icon = 'data:image/png;base64,' + base64.b64encode(f.read()).decode('ascii')
    page = re.sub(r'(rel="icon" type="image/png" href=")[^"]+', lambda m: m.group(1) + icon, page)
    # The licences go with the faces and Qt that the file carries.
    notices = []
    for folder in ('fonts', 'licences'):
        for name in sorted(os.listdir(os.path.join(site, folder))):
            if name.endswith(('.ttf', '.ttc', '.otf')):
                continue
            with open(os.path.join(site, folder, name), encoding='utf-8', errors='replace') as f:
                notices.append(f'==> {folder}/{name} <==\n' + f.read())
    page = page.replace('</body>', '<script type="text/plain" id="licences">\n'
                        + '\n'.join(notices).replace('</script', '<\\/script')
                        + '</script>\n</body>')
    first = page.index('<script>window.lumoraSite')
    page = (page[:first] + '<script>window.lumoraInside = ' + json.dumps(inside) + ';</script>\n'
            + page[first:])
    with open(args.out, 'w', encoding='utf-8') as f:
        f.write(page)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest='command', required=True)
    fonts = commands.add_parser('fonts')
    fonts.add_argument('out')
    fonts.add_argument('sources', nargs='+')
    page = commands.add_parser('page')
    page.add_argument('template')
    page.add_argument('out')
    page.add_argument('--title', required=True)
    page.add_argument('--icon', required=True)
    page.add_argument('--script', action='append', default=[])
    page.add_argument('--file', action='append', default=[])
    single = commands.add_parser('single')
    single.add_argument('site')
    single.add_argument('out')
    args = parser.parse_args()
    {'fonts': command_fonts, 'page': command_page, 'single': command_single}[args.command](args)


if __name__ == '__main__':
    sys.exit(main())
