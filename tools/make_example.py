#!/usr/bin/env python3
"""Writes data/example.obs, the small hand-made database of twelve Messier objects.

The records below are typed by hand in the file's own layout; this script only adds the CR LF
line ends and fills in the header counters (records, file length, observations), which are
tedious to count by hand. Run it from the source tree: tools/make_example.py
"""
import pathlib
import re

RECORDS = r"""
_y;0534.5+2201;gn;=M1=n1952=Crab Nebula=;N;8.4;6x4;E(SNR);a;20190105;3;4;
 info: Supernova remnant of the explosion seen in 1054 by Chinese astronomers\; pulsar at the centre.;
 refs: ^ S&T199001 p45.^ !Burnham's Celestial Handbook p1875.;
 url: {http://www.messier.seds.org/m/m001.html};
 obs: 20190105h8 Faint oval glow, brighter towards the centre\; S-shaped outline with averted vision.
 20200121d8 Mottled texture, the notch on the east side is clear.;
_y;1641.7+3628;gc;=M13=n6205=Great Hercules Cluster=;;5.8;20;V;a;20180615;1;5;
 info: The finest globular cluster of the northern sky.;
 obs: 20180615h8 Resolved to the core at 150x\; three dark lanes (the propeller) seen.;
_y;1959.6+2243;pn;=M27=n6853=Dumbbell Nebula=;N;7.4;8.0x5.7;3b;a;20170820;1;5;
 info: Bright planetary nebula in Vulpecula\; apple-core shape.;
 goal: Look for the faint "ears" filling out the ellipse.;
 obs: 20170820h4 Apple core obvious, OIII filter adds the ears.;
_y;0042.7+4116;eg;=M31=n224=Andromeda Galaxy=;32;3.4;178x63;SA(s)b;a;19991002;1;5;
 info: Nearest large spiral galaxy, 2.5 million light years\; companions M32 and M110.;
 in: Local Group;
 refs: ^ S&T199810 p98.^ !Burnham's Celestial Handbook p143. !Sky Atlas 2000 chart 4.;
 url: {http://www.messier.seds.org/m/m031.html}
 {https://en.wikipedia.org/wiki/Andromeda\_Galaxy};
 rv: -300;
 pc: 780000;
 z: -0.001;
 obs: 19991002de Naked eye from the dark site, five degrees long in averted vision.
 20051015d8 Two dust lanes traced\; NGC 206 seen as a knot in the southern arm.
 20210911h8 Through thin cirrus only the core shows.;
_n;0133.9+3039;eg;=M33=n598=Triangulum Galaxy=;3;5.7;73x45;SA(s)cd;a;;3;4;
 info: Large face-on spiral of low surface brightness\; best at low power on a dark night.;
 in: Local Group;
 goal: See the HII region NGC 604.;
_y;0535.3-0523;gn;=M42=n1976=Orion Nebula=;;4.0;85x60;E+R;a;19980120;1;5;
 info: Brightest diffuse nebula\; the Trapezium stars at its heart light it.;
 refs: ^^ !Burnham's Celestial Handbook p1317.;
 obs: 19980120h4 Trapezium split into four, wings of nebulosity spread across the field.;
_y;0347.0+2407;oc;=M45=Pleiades=Seven Sisters=;;1.6;110;I3rn;a;19950101;1;5;
 info: Young open cluster\; reflection nebulosity round Merope.;
 obs: 19950101he Seven stars naked eye, more with averted vision.;
_n;1329.9+4712;eg;=M51=n5194=Whirlpool Galaxy=;32;8.4;11x7;SA(s)bcP;a;;2;5;
 info: Interacting face-on spiral with companion NGC 5195.;
 in: M51 group;
 goal: Trace the spiral arms and the bridge to NGC 5195.;
_y;1853.6+3302;pn;=M57=n6720=Ring Nebula=;N;8.8;1.4x1.0;4;a;20160707;1;4;
 info: The classic ring planetary in Lyra\; central star about magnitude 15.;
 obs: 20160707h8 Ring obvious at 100x\; the centre is darker but not black.;
_n;0955.6+6904;eg;=M81=n3031=Bode's Galaxy=;3;6.9;27x14;SA(s)ab;a;;2;4;
 info: Bright spiral in Ursa Major, a pair with M82 in one low-power field.;
 url: {http://www.messier.seds.org/m/m081.html};
_n;1403.2+5421;eg;=M101=n5457=Pinwheel Galaxy=;3;7.9;29x27;SAB(rs)cd;a;;3;4;
 info: Large face-on spiral, the light spread thin: needs a dark sky.;
_y;1240.0-1137;eg;=M104=n4594=Sombrero Galaxy=;32;8.0;9x4;SA(s)a;a;20200425;2;5;
 info: Edge-on galaxy with a prominent dust lane and a large bulge.;
 obs: 20200425s8 Dust lane sharp across the whole length at 180x.;
"""

OBS_HEADER = re.compile(r"(?:19|20)\d\d(?:0[1-9]|1[012])(?:[012]\d|30|31)[hds][eb48]")


def main():
    body = "".join(line + "\r\n" for line in RECORDS.strip("\n").split("\n"))
    records = body.count("\r\n_") + (1 if body.startswith("_") else 0)
    observations = len(OBS_HEADER.findall(body))
    header_template = ";Vespario=%3i=%10u=%10u=%10u=_=;=;=\r\n"
    length = len((header_template % (2, 0, 0, 0) + body).encode("latin-1"))
    text = header_template % (2, records, length, observations) + body
    out = pathlib.Path(__file__).resolve().parent.parent / "data" / "example.obs"
    out.write_bytes(text.encode("latin-1"))
    print(f"{out}: {records} records, {observations} observations, {length} bytes")


if __name__ == "__main__":
    main()
